// The Qt window end to end, through real widgets and real key and mouse events, on the offscreen
// platform: what a person does, and what the window then shows and saves.
#include "ui/qt/calculator_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "tests/support/temporary_directory.h"
#include "tests/ui/window_script.h"
#include "ui/qt/application.h"

namespace korvale::ui::qt {
namespace {

class CalculatorWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<CalculatorWindow> open() {
    auto window = std::make_unique<CalculatorWindow>(
        StateFile(directory_.u8path()),
        [this](QWidget* owner, const QString& title, const QString& message) {
          reports_.push_back((title + ": " + message).toStdString());
          reportedOver_.push_back(owner != nullptr && owner->isVisible()
                                      ? shown(*static_cast<CalculatorWindow*>(owner))
                                      : "no window");
        });
    window->form().traceHandlers(
        [this](std::string_view name) { handlers_ += std::string(name) + " "; });
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }

  // What the widgets show: "teeth | pitch | D | Da".
  static std::string shown(const CalculatorWindow& w) {
    return (w.textBox(ControlId::Text2_0)->text() + " | " + w.pitchComboBox()->currentText() +
            " | " + w.textBox(ControlId::Text1_0)->text() + " | " +
            w.textBox(ControlId::Text1_1)->text())
        .toStdString();
  }

  static void pickFromList(CalculatorWindow& window, int row) {
    QComboBox* combo = window.pitchComboBox();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  }

  static void replaceText(QLineEdit* edit, const QString& typed) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
  }

  korvale::testing::TemporaryDirectory directory_;
  std::vector<std::string> reports_;
  std::vector<std::string> reportedOver_;  // what the window showed beneath each report
  std::string handlers_;
};

TEST_F(CalculatorWindowTest, EveryKeystrokeUpdatesBothResults) {
  auto window = open();
  QLineEdit* teeth = window->textBox(ControlId::Text2_0);
  replaceText(teeth, "");
  for (const auto& [key, expected] : testing::kTeethKeystrokes) {
    if (key == '\b') {
      QTest::keyClick(teeth, Qt::Key_Backspace);
    } else {
      QTest::keyClick(teeth, key);
    }
    EXPECT_EQ(shown(*window), expected);
  }
  // Typed in the middle, the key lands where the caret is: "250" becomes "2510".
  replaceText(teeth, "250");
  QTest::keyClick(teeth, Qt::Key_Home);
  QTest::keyClick(teeth, Qt::Key_Right);
  QTest::keyClick(teeth, Qt::Key_Right);
  QTest::keyClick(teeth, '1');
  EXPECT_EQ(shown(*window), "2510 | 5M | 3994.78 | 3994.78");
  QTest::keyClick(teeth, '9');
  EXPECT_EQ(teeth->text(), "25190");
}

TEST_F(CalculatorWindowTest, EveryEntryPickedFromTheListOrWithTheKeys) {
  auto window = open();
  QTest::keyClick(window->pitchComboBox(), Qt::Key_Down);
  EXPECT_EQ(shown(*window), testing::kPicked[0]) << "with nothing selected, Down picks the first";
  for (int row : {3, 0, 2, 1, 0}) {
    handlers_.clear();
    pickFromList(*window, row);
    EXPECT_EQ(shown(*window), testing::kPicked[row]);
    EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), row);
    EXPECT_EQ(handlers_, "Combo1_Click TT ") << row;
  }
  QComboBox* combo = window->pitchComboBox();
  for (int row : {1, 2, 3}) {
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(shown(*window), testing::kPicked[row]);
  }
  for (int row : {2, 1, 0}) {
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(shown(*window), testing::kPicked[row]);
  }
  // Typing in the middle of a picked entry: each key lands at the caret.
  pickFromList(*window, 3);
  QTest::keyClick(combo->lineEdit(), Qt::Key_Home);
  QTest::keyClick(combo->lineEdit(), Qt::Key_Right);
  QTest::keyClicks(combo->lineEdit(), "05");
  EXPECT_EQ(shown(*window), "20 | 1054M | 6709.97 | 6709.97");
  // Typing over a pick, then picking the same entry again, picks it.
  pickFromList(*window, 3);
  replaceText(combo->lineEdit(), "8");
  EXPECT_EQ(shown(*window), "20 | 8 | 50.92 | 50.92");
  pickFromList(*window, 3);
  EXPECT_EQ(shown(*window), testing::kPicked[3]);
}

TEST_F(CalculatorWindowTest, TypingSelectsNothing) {
  auto window = open();
  QLineEdit* field = window->pitchComboBox()->lineEdit();
  replaceText(field, "5M");
  handlers_.clear();
  QTest::keyClick(field, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Down, Qt::AltModifier);             // the list opens...
  QTest::keyClick(window->pitchComboBox()->view(), Qt::Key_Escape);  // ...and closes unused
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);         // the field loses the focus
  EXPECT_EQ(handlers_, "") << "neither Enter, the list nor leaving the field picks the typed text";
  EXPECT_EQ(window->form().Combo1(1).SelectedIndex(), -1);
  EXPECT_EQ(window->pitchComboBox()->count(), 4) << "Enter adds no entry";
  EXPECT_EQ(shown(*window), "20 | 5M | 31.83 | 31.83");
  replaceText(field, "1");
  EXPECT_EQ(field->text(), "1") << "no completion to 14M";
}

TEST_F(CalculatorWindowTest, StartsFocusedFixedAndTopmostWithTheTabOrder) {
  auto window = open();
  EXPECT_EQ(window->windowTitle(), "Korvale");
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_LE((window->frameGeometry().center() -
             QGuiApplication::primaryScreen()->availableGeometry().center())
                .manhattanLength(),
            10)
      << "centred on the screen, give or take the frame the platform adds once shown";
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window->windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}))
      << "the sizes of the Windows icon group";
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text2(0)");
  for (const char* next : {"Text1(0)", "Text1(1)", "Combo1(1)", "Text2(0)"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
}

// Every widget where its twips put it within its container (Frame1's four inside the group box):
// in Qt's device-independent pixels twips / 15 whatever the screen's scale, which Qt then applies;
// in device pixels within a pixel of the twips at that scale. ctest runs it at scale factors 1,
// 1.5 and 2 (QT_SCALE_FACTOR).
TEST_F(CalculatorWindowTest, LaidOutFromTwipsAtEveryScaleFactor) {
  auto window = open();
  const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                           ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                           : 1.0;
  EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), scale);
  EXPECT_EQ(window->size(), QSize(210, 225));
  const auto* frame = window->findChild<QWidget*>("Frame1(0)");
  for (const ControlDescription& c : Form1Description().controls) {
    const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())) +
                         "(" + QString::number(c.member) + ")";
    const auto* widget = window->findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name.toStdString();
    EXPECT_EQ(widget->parentWidget(), c.insideFrame ? frame : window.get()) << name.toStdString();
    const TwipsRect& t = c.bounds;
    EXPECT_EQ(widget->geometry(), QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15))
        << name.toStdString();
    EXPECT_NEAR(widget->width() * scale, twipsToPixels(t.width, static_cast<int>(96 * scale)), 1)
        << name.toStdString();
    EXPECT_NEAR(widget->height() * scale, twipsToPixels(t.height, static_cast<int>(96 * scale)), 1)
        << name.toStdString();
    EXPECT_EQ(widget->font().pointSizeF(), 10.5) << name.toStdString();
    EXPECT_EQ(widget->font().bold(), c.kind == ControlKind::Label) << name.toStdString();
    EXPECT_EQ(widget->font().families().value(0), "宋体") << name.toStdString();
  }
}

TEST_F(CalculatorWindowTest, TheFocusComesBackToItsControlWithTheWindow) {
  auto window = open();
  QLineEdit* pitchCircle = window->textBox(ControlId::Text1_0);
  pitchCircle->setFocus();
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), pitchCircle);
}

TEST_F(CalculatorWindowTest, AnOverflowIsReportedAndTheWindowStaysOpen) {
  auto window = open();
  pickFromList(*window, 3);
  replaceText(window->textBox(ControlId::Text2_0), "1E308");
  EXPECT_EQ(reports_, std::vector<std::string>{"Korvale: Run-time error '6':\n\nOverflow"});
  EXPECT_EQ(reportedOver_, std::vector<std::string>{"1E308 | 14M |  | "});
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(shown(*window), "1E308 | 14M |  | ");
  QTest::keyClick(window->textBox(ControlId::Text2_0), Qt::Key_Backspace);
  EXPECT_EQ(shown(*window), "1E30 | 14M | 4.45633840599119E+30 | 4.45633840599119E+30");
}

TEST_F(CalculatorWindowTest, AnOverflowAtStartUpIsReportedOverTheShownWindow) {
  directory_.write("Rede.txt", "\"1E308\"\r\n\"14M\"\r\n");
  auto window = open();
  QTest::qWait(20);
  EXPECT_EQ(reports_, std::vector<std::string>{"Korvale: Run-time error '6':\n\nOverflow"});
  EXPECT_EQ(reportedOver_, std::vector<std::string>{"1E308 | 14M |  | "});
}

// Stands for a paste larger than the memory left: the allocation fails inside the line edit.
class FailingPaste : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const auto* key = dynamic_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && key->matches(QKeySequence::Paste)) {
      throw std::bad_alloc();
    }
    return false;
  }
};

TEST_F(CalculatorWindowTest, APasteBeyondTheMemoryLeftIsReportedAndTheWindowGoesOn) {
  auto window = open();
  auto* application = static_cast<Application*>(QCoreApplication::instance());
  application->onOutOfMemory([&window] { window->reportOutOfMemory(); });
  QLineEdit* teeth = window->textBox(ControlId::Text2_0);
  FailingPaste failing;
  teeth->installEventFilter(&failing);
  QTest::keyClick(teeth, Qt::Key_V, Qt::ControlModifier);
  teeth->removeEventFilter(&failing);
  application->onOutOfMemory({});
  EXPECT_EQ(reports_, std::vector<std::string>{"Korvale: Run-time error '7':\n\nOut of memory"});
  QTest::keyClick(teeth, Qt::Key_3);
  EXPECT_EQ(shown(*window), "203 | 5M | 323.08 | 323.08");
}

TEST_F(CalculatorWindowTest, TheSessionEndingSavesWithoutAClose) {
  auto window = open();
  replaceText(window->textBox(ControlId::Text2_0), "25");
  QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
  EXPECT_EQ(directory_.read("Rede.txt"), "\"25\"\r\n\"5M\"\r\n");
  EXPECT_EQ(handlers_.find("Form_QueryUnload"), handlers_.rfind("Form_QueryUnload"));
  window->close();
  EXPECT_EQ(handlers_.find("Form_QueryUnload"), handlers_.rfind("Form_QueryUnload"))
      << "the form closes once";
}

TEST_F(CalculatorWindowTest, NonAsciiInputsAreSavedAndRestoredThroughTheWidgets) {
  auto window = open();
  // Chinese text arrives from an input method, committed whole.
  for (auto [edit, text] : {std::pair{window->textBox(ControlId::Text2_0), "２０"},
                            std::pair{window->pitchComboBox()->lineEdit(), "五M"}}) {
    replaceText(edit, "");
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8(text));
    QCoreApplication::sendEvent(edit, &committed);
  }
  window->close();
  EXPECT_EQ(directory_.read("Rede.txt"), "\"２０\"\r\n\"五M\"\r\n");
  window = open();
  EXPECT_EQ(shown(*window), "２０ | 五M | 0 | 0");
}

TEST_F(CalculatorWindowTest, ClosingSavesOnceAndTheNextWindowRestores) {
  auto window = open();
  pickFromList(*window, 1);
  window->close();
  EXPECT_EQ(directory_.read("Rede.txt"), "\"20\"\r\n\"5M\"\r\n");
  handlers_.clear();
  window->close();
  EXPECT_EQ(handlers_, "") << "the form closes once";

  window = open();
  EXPECT_EQ(window->pitchComboBox()->currentIndex(), 1);
  EXPECT_EQ(shown(*window), "20 | 5M | 31.83 | 30.69");

  // A restored first entry is the list's own selection too: Down goes on to the second.
  window.reset();
  directory_.write("Rede.txt", "\"20\"\r\n\"3M\"\r\n");
  window = open();
  EXPECT_EQ(shown(*window), testing::kPicked[0]);
  QTest::keyClick(window->pitchComboBox(), Qt::Key_Down);
  EXPECT_EQ(shown(*window), testing::kPicked[1]);
}

}  // namespace
}  // namespace korvale::ui::qt

int main(int argc, char* argv[]) {
  korvale::ui::qt::Application application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
