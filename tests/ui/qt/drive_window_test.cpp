#include "ui/qt/drive_window.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "tests/ui/drive_script.h"

namespace korvale::ui::qt {
namespace {

// The drive window's real widgets, typed into and clicked as a person would.
class QtDriveDriver : public testing::DriveDriver {
 public:
  void act(const testing::DriveStep& step) override {
    using A = testing::DriveAct;
    switch (step.act) {
      case A::Start:
        window_ = std::make_unique<DriveWindow>(
            DriveFile(directory.u8path()), std::nullopt,
            [this](QWidget*, const QString&, const QString& message) {
              reports += "[" + message.toStdString() + "]";
            },
            Language::English);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QCoreApplication::processEvents();
        break;
      case A::Type: {
        QLineEdit* edit = window_->textBox(step.field);
        edit->setFocus();
        edit->selectAll();
        if (*step.text == '\0') {
          QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
          QTest::keyClicks(edit, step.text);
        }
        break;
      }
      case A::Pick: {
        QComboBox* list = window_->list(step.field);
        list->setFocus();
        const int steps = std::stoi(step.text) - list->currentIndex();
        for (int i = 0; i < std::abs(steps); ++i) {
          QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
        break;
      }
      case A::Adopt:
        window_->rows()->setFocus();
        window_->rows()->setCurrentCell(std::stoi(step.text), 0);
        QTest::keyClick(window_->rows(), Qt::Key_Return);
        break;
      case A::Copy:
        window_->rows()->setFocus();
        QTest::keyClick(window_->rows(), Qt::Key_C, Qt::ControlModifier);
        clipboard = QGuiApplication::clipboard()->text().toStdString();
        break;
      case A::Close:
        window_->close();
        break;
    }
  }

  std::string shown() override {
    QTableWidget* rows = window_->rows();
    const QString notes = window_->notes()->text();
    if (rows->rowCount() == 0) return "error: " + notes.toStdString();
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(rows->rowCount()));
    for (int r = 0; r < rows->rowCount(); ++r) {
      for (int c = 0; c < rows->columnCount(); ++c) {
        cells[static_cast<std::size_t>(r)].push_back(rows->item(r, c)->text().toStdString());
      }
    }
    std::vector<std::string> lines;
    for (const QString& line : notes.split('\n')) lines.push_back(line.toStdString());
    const QString heading = rows->horizontalHeaderItem(1)->text();
    return testing::shownFrom(cells, lines, heading.section('(', 1).chopped(1).toStdString());
  }

 private:
  std::unique_ptr<DriveWindow> window_;
};

TEST(QtDriveWindow, PlaysTheDriveScenario) {
  QtDriveDriver driver;
  testing::playDriveScenario(driver);
}

}  // namespace
}  // namespace korvale::ui::qt
