#include "ui/qt/drive/drive_window.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "tests/ui/drive/drive_script.h"
#include "ui/drive/drive_words.h"

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
        // Every column in view at the window's first size, unless the screen is too narrow for
        // them: the window then opens as wide as the screen.
        EXPECT_TRUE(window_->rows()->horizontalHeader()->length() <=
                        window_->rows()->viewport()->width() ||
                    window_->width() >= window_->screen()->availableGeometry().width())
            << "a column behind the scroll bar at the window's first size";
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
      case A::Click: {
        QTableWidget* rows = window_->rows();
        const QRect cell = rows->visualItemRect(rows->item(std::stoi(step.text), 1));
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, cell.center());
        break;
      }
      case A::Paste: {
        QGuiApplication::clipboard()->setText(QString::fromStdString(testing::pastedText(step)));
        QLineEdit* edit = window_->textBox(step.field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        break;
      }
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

  std::string text(DriveField field) override {
    return window_->textBox(field)->text().toStdString();
  }
  // What the window shows, as far as it is shown whole: a figure its cell cuts reads "cut", and
  // so do notes their strip cuts.
  std::string shown() override {
    QCoreApplication::processEvents();
    QTableWidget* rows = window_->rows();
    const QFontMetrics metrics = rows->fontMetrics();
    const auto cut = [](const QLabel* label) {
      return label->heightForWidth(label->width()) > label->height();
    };
    const QString notes =
        cut(window_->notes()) || cut(window_->summary()) ? "cut" : window_->notes()->text();
    const QString load = cut(window_->loadNotes()) || cut(window_->loadMethods())
                             ? "cut"
                             : window_->loadNotes()->text();
    std::vector<std::vector<std::string>> cells;
    for (int r = 0; r < rows->rowCount(); ++r) {
      if (rows->isRowHidden(r)) continue;
      std::vector<std::string>& row = cells.emplace_back();
      for (int c = 0; c < rows->columnCount(); ++c) {
        if (rows->isColumnHidden(c)) continue;
        const QString text = rows->item(r, c)->text();
        // The cells keep half an average character and a pixel clear on either side.
        const int margins = 2 * (metrics.averageCharWidth() / 2 + 1);
        const bool whole = metrics.horizontalAdvance(text) + margins <= rows->columnWidth(c);
        row.push_back(whole ? text.toStdString() : "cut");
      }
    }
    if (cells.empty()) return "error: " + notes.toStdString();
    std::vector<std::string> lines;
    for (const QString& line : notes.split('\n')) lines.push_back(line.toStdString());
    const QString heading = rows->horizontalHeaderItem(1)->text();
    return testing::shownFrom(cells, lines, heading.section('(', 1).chopped(1).toStdString(),
                              load.section('\n', 0, 0).toStdString());
  }

 private:
  std::unique_ptr<DriveWindow> window_;
};

TEST(QtDriveWindow, PlaysTheDriveScenario) {
  QtDriveDriver driver;
  testing::playDriveScenario(driver);
}

// What a screen reader calls each input, and the keyboard's way in: every input's label carries
// a mnemonic and names it as its buddy; the tab order is the reading order.
TEST(QtDriveWindow, NamesItsInputsAndTakesThemInReadingOrder) {
  for (const Language language : {Language::English, Language::Chinese}) {
    DriveWindow window(
        DriveFile(korvale::testing::TemporaryDirectory().u8path()), std::nullopt,
        [](QWidget*, const QString&, const QString&) {}, language);
    const auto& inputs = kDriveInputs;
    QWidget* previous = nullptr;
    for (const auto& [field, word] : inputs) {
      QWidget* input =
          field == DriveField::Profile || field == DriveField::Given || field == DriveField::Units
              ? static_cast<QWidget*>(window.list(field))
              : window.textBox(field);
      EXPECT_EQ(input->accessibleName().toStdString(), driveName(word, language));
      const auto labels = window.findChildren<QLabel*>();
      EXPECT_EQ(std::count_if(labels.begin(), labels.end(),
                              [&](QLabel* label) {
                                return label->buddy() == input && label->text().contains('&');
                              }),
                1);
      if (previous != nullptr) {
        QWidget* next = previous->nextInFocusChain();
        while ((next->focusPolicy() & Qt::TabFocus) == 0) next = next->nextInFocusChain();
        EXPECT_EQ(next, input) << "Tab goes on in reading order";
      }
      previous = input;
    }
  }
}

}  // namespace
}  // namespace korvale::ui::qt
