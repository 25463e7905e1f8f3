// The Qt window end to end, through real widgets and real key and mouse events, on the offscreen
// platform: what a person does, and what the window then shows and saves.
#include "ui/qt/calculator_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tests/support/temporary_directory.h"

void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace korvale::ui::qt {
namespace {

class CalculatorWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<CalculatorWindow> open() {
    auto window = std::make_unique<CalculatorWindow>(
        StateFile(directory_.u8path()),
        [this](QWidget*, const QString& title, const QString& message) {
          reports_.push_back(title + ": " + message);
        });
    window->form().traceHandlers([this](std::string_view name) { handlers_.emplace_back(name); });
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }

  static QString shown(CalculatorWindow& window, ControlId id) {
    return window.textBox(id)->text();
  }
  static QString d(CalculatorWindow& window) { return shown(window, ControlId::Text1_0); }
  static QString da(CalculatorWindow& window) { return shown(window, ControlId::Text1_1); }

  static void pickFromList(CalculatorWindow& window, int row) {
    QComboBox* combo = window.pitchComboBox();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QModelIndex index = list->model()->index(row, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
  }

  static void replaceText(QLineEdit* edit, const QString& typed) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
  }

  std::string fileBytes() const { return directory_.read("Rede.txt"); }

  korvale::testing::TemporaryDirectory directory_;
  QStringList reports_;
  std::vector<std::string> handlers_;
};

TEST_F(CalculatorWindowTest, EveryKeystrokeUpdatesBothResults) {
  auto window = open();
  QLineEdit* teeth = window->textBox(ControlId::Text2_0);
  replaceText(teeth, "");
  EXPECT_EQ(d(*window), "0");
  const struct {
    char key;
    const char* d;
  } keystrokes[] = {{'2', "3.18"}, {'3', "36.6"}, {'.', "36.6"}, {'5', "37.4"}};
  for (const auto& k : keystrokes) {
    QTest::keyClick(teeth, k.key);
    EXPECT_EQ(d(*window), k.d) << "after " << k.key;
    EXPECT_EQ(da(*window), k.d);
  }
  QTest::keyClick(teeth, Qt::Key_Backspace);
  EXPECT_EQ(d(*window), "36.6");
}

TEST_F(CalculatorWindowTest, APickFromTheListIsOneClick) {
  auto window = open();
  handlers_.clear();
  pickFromList(*window, 3);
  EXPECT_EQ(window->pitchComboBox()->currentText(), "14M");
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), 3);
  EXPECT_EQ(d(*window), "89.12");
  EXPECT_EQ(da(*window), "86.32");
  EXPECT_EQ(handlers_, (std::vector<std::string>{"Combo1_Click", "TT"}));

  handlers_.clear();
  QTest::keyClick(window->pitchComboBox(), Qt::Key_Up);  // keyboard, list closed
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), 2);
  EXPECT_EQ(da(*window), "49.55");
  EXPECT_EQ(handlers_, (std::vector<std::string>{"Combo1_Click", "TT"}));
}

TEST_F(CalculatorWindowTest, TypingOverAPickSelectsNothing) {
  auto window = open();
  pickFromList(*window, 1);
  ASSERT_EQ(da(*window), "30.69");
  QLineEdit* field = window->pitchComboBox()->lineEdit();
  replaceText(field, "8M");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), -1);
  EXPECT_EQ(window->pitchComboBox()->count(), 4) << "Enter must not add an entry";
  EXPECT_EQ(field->text(), "8M");
  EXPECT_EQ(d(*window), "50.92");
  EXPECT_EQ(da(*window), "50.92");

  replaceText(field, "1");
  EXPECT_EQ(field->text(), "1") << "no autocompletion to 14M";
}

TEST_F(CalculatorWindowTest, StartsFocusedFixedAndTopmostWithTheTabOrder) {
  auto window = open();
  EXPECT_EQ(window->windowTitle(), "Korvale");
  EXPECT_EQ(window->size(), QSize(210, 225));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(QApplication::focusWidget(), window->textBox(ControlId::Text2_0));

  for (const char* next : {"Text1(0)", "Text1(1)", "Combo1(1)", "Text2(0)"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
}

TEST_F(CalculatorWindowTest, AnOverflowIsReportedAndTheWindowStaysOpen) {
  auto window = open();
  pickFromList(*window, 3);
  replaceText(window->textBox(ControlId::Text2_0), "1E308");
  ASSERT_EQ(reports_.size(), 1);
  EXPECT_EQ(reports_[0], "Korvale: Run-time error '6':\n\nOverflow");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(d(*window), "");
  EXPECT_EQ(da(*window), "");
  QTest::keyClick(window->textBox(ControlId::Text2_0), Qt::Key_Backspace);
  EXPECT_EQ(d(*window), "4.45633840599119E+30") << "the next keystroke recomputes as usual";
  EXPECT_EQ(reports_.size(), 1);
}

TEST_F(CalculatorWindowTest, ClosingSavesAndTheNextWindowRestores) {
  {
    auto window = open();
    pickFromList(*window, 1);
    window->close();
    EXPECT_EQ(fileBytes(), "\"20\"\r\n\"5M\"\r\n");
    handlers_.clear();
    window->close();
    EXPECT_TRUE(handlers_.empty()) << "the form closes once";
  }
  auto window = open();
  EXPECT_EQ(window->pitchComboBox()->currentText(), "5M");
  EXPECT_EQ(window->pitchComboBox()->currentIndex(), 1);
  EXPECT_EQ(d(*window), "31.83");
  EXPECT_EQ(da(*window), "30.69");
}

}  // namespace
}  // namespace korvale::ui::qt

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
