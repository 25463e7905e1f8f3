// The Qt window end to end, through real widgets and real key and mouse events, on the offscreen
// platform: the window scenarios every front end is held to, and what is Qt's own.
#include "ui/qt/calculator/calculator_window.h"

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <cstdlib>

#include "tests/support/temporary_directory.h"
#include "tests/ui/calculator/window_script.h"
#include "ui/qt/application.h"
#include "ui/qt/calculator/line_edit.h"
#include "ui/qt/command_line.h"

KORVALE_FAILING_OPERATOR_NEW

namespace korvale::ui::qt {
namespace {

using testing::Act;

QString objectName(ControlId id) {
  const ControlDescription& c = Form1Description().control(id);
  return QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())) + "(" +
         QString::number(c.member) + ")";
}

class QtDriver : public testing::WindowDriver {
 public:
  bool ended() override { return ended_; }
  void open() override { open(Language::Chinese); }
  CalculatorWindow& open(Language language) {
    window_.reset();
    window_ = std::make_unique<CalculatorWindow>(
        StateFile(directory.u8path()),
        [this](QWidget* owner, const QString& title, const QString& message) {
          recordReport(title.toStdString(), message.toStdString(),
                       owner != nullptr && owner->isVisible());
        },
        language);
    window_->form().traceHandlers(handlerRecorder());
    window_->show();
    QApplication::setActiveWindow(window_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::qWait(10);  // a report held back during start-up goes up from the event loop
    return *window_;
  }

  void act(const testing::Step& step) override {
    QComboBox* combo = window_ ? window_->pitchComboBox() : nullptr;
    switch (step.act) {
      case Act::Open:
        open();
        break;
      case Act::Type:
        keys(edit(step.box), step.text);
        break;
      case Act::Replace: {
        QLineEdit* box = edit(step.box);
        selectAll(box);
        QTest::keyClick(box, Qt::Key_Backspace);
        QInputMethodEvent committed;
        committed.setCommitString(QString::fromStdString(step.text));
        if (!step.text.empty()) QCoreApplication::sendEvent(box, &committed);
        break;
      }
      case Act::Paste:
        QGuiApplication::clipboard()->setText(QString::fromStdString(step.text));
        selectAll(edit(step.box));
        testing::failAllocationsFor(step.text);
        QTest::keyClick(edit(step.box), Qt::Key_V, Qt::ControlModifier);
        break;
      case Act::Click: {
        // Where the label reaches under the box, the box must take the click.
        QWidget* box = edit(step.box);
        const auto* label = window_->findChild<QWidget*>(objectName(*labelOf(step.box)));
        const QRect both =
            QRect(box->mapTo(window_.get(), QPoint()), box->size())
                .intersected(QRect(label->mapTo(window_.get(), QPoint()), label->size()));
        QWidget* hit = window_->childAt(both.center());
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(window_.get(), both.center()));
        keys(qobject_cast<QLineEdit*>(QApplication::focusWidget()), step.text);
        break;
      }
      case Act::Pick: {
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        const QRect item = list->visualRect(list->model()->index(std::stoi(step.text), 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        break;
      }
      case Act::Down:
        QTest::keyClick(combo, step.text == "up" ? Qt::Key_Up : Qt::Key_Down);
        break;
      case Act::TryToSelect:
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(combo->view(), Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(combo->count(), 4) << "Enter adds no entry";
        break;
      case Act::Close:
        window_->close();
        break;
      case Act::EndSession:
        QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
        break;
      case Act::FailUnexpectedly: {
        window_->form().traceHandlers([](std::string_view name) {
          if (name == "TT") throw std::logic_error("broken");
        });
        // Typed from within the event loop, which the end must stop (a second at most).
        QTimer stop;
        QObject::connect(&stop, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        stop.start(1000);
        QTimer::singleShot(0, window_.get(), [&] { keys(edit(step.box), step.text); });
        ended_ = QApplication::exec() == 1 && !window_->isVisible();
        break;
      }
      case Act::WriteFile:
      case Act::FolderInWay:
        break;
    }
  }

  std::string shown() override {
    return (window_->textBox(ControlId::Text2_0)->text() + " | " +
            window_->pitchComboBox()->currentText() + " | " +
            window_->textBox(ControlId::Text1_0)->text() + " | " +
            window_->textBox(ControlId::Text1_1)->text())
        .toStdString();
  }

 private:
  QLineEdit* edit(ControlId id) const {
    return id == ControlId::Combo1_1 ? window_->pitchComboBox()->lineEdit() : window_->textBox(id);
  }
  static void selectAll(QLineEdit* box) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  }
  static void keys(QLineEdit* box, const std::string& keys) {
    for (char key : keys) {
      const Qt::Key special = key == '\b'  ? Qt::Key_Backspace
                              : key == '<' ? Qt::Key_Home
                              : key == '>' ? Qt::Key_Right
                              : key == '$' ? Qt::Key_End
                                           : Qt::Key_unknown;
      special != Qt::Key_unknown ? QTest::keyClick(box, special) : QTest::keyClick(box, key);
    }
  }

  std::unique_ptr<CalculatorWindow> window_;
  bool ended_ = false;
};

TEST(QtWindow, PlaysEveryWindowScenario) {
  testing::runWindowScenarios<QtDriver>();
}

TEST(QtWindow, StartsFocusedFixedAndTopmostWithTheTabOrder) {
  QtDriver driver;
  CalculatorWindow* window = &driver.open(Language::Chinese);
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
TEST(QtWindow, LaidOutFromTwipsAtEveryScaleFactor) {
  const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                           ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                           : 1.0;
  for (Language language : {Language::Chinese, Language::English}) {
    QtDriver driver;
    CalculatorWindow* window = &driver.open(language);
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), scale);
    EXPECT_EQ(window->size(), QSize(210, 225));
    const auto* frame = window->findChild<QWidget*>("Frame1(0)");
    for (const ControlDescription& c : Form1Description().controls) {
      const QString name = objectName(c.id);
      SCOPED_TRACE(name.toStdString() + (language == Language::English ? " in English" : ""));
      const auto* widget = window->findChild<QWidget*>(name);
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(widget->parentWidget(), c.insideFrame ? frame : window);
      const TwipsRect& t = c.bounds;
      EXPECT_EQ(widget->geometry(), QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15));
      EXPECT_NEAR(widget->width() * scale, twipsToPixels(t.width, static_cast<int>(96 * scale)), 1);
      EXPECT_NEAR(widget->height() * scale, twipsToPixels(t.height, static_cast<int>(96 * scale)),
                  1);
      EXPECT_EQ(widget->font().pointSizeF(), 10.5);
      EXPECT_EQ(widget->font().bold(), c.kind == ControlKind::Label);
      EXPECT_EQ(widget->font().families().value(0), "宋体");

      // The caption in the window's language, every character drawn from a font that has it, no
      // wider than the part of its rectangle that shows (a group box's title stands in from its
      // corner; a box is drawn over a label's right part). The English ones fit its height
      // too; the Chinese glyphs of the CJK fonts reach two pixels below a label, as they always
      // have.
      const auto* label = qobject_cast<const QLabel*>(widget);
      const auto* group = qobject_cast<const QGroupBox*>(widget);
      const QString caption = label ? label->text() : group ? group->title() : QString();
      if (caption.isEmpty()) continue;
      EXPECT_EQ(caption.toStdString(), captionOf(c.id, language));
      int shows = widget->width() - (group ? 16 : 0);  // less what the box it names covers
      for (const ControlDescription& box : Form1Description().controls) {
        const QRect covering = window->findChild<QWidget*>(objectName(box.id))->geometry();
        if (labelOf(box.id) == c.id && covering.left() > widget->x() &&
            covering.left() < widget->geometry().right()) {
          shows = covering.left() - widget->x();
        }
      }
      const QFontMetricsF metrics(widget->font(), widget);
      EXPECT_LE(metrics.horizontalAdvance(caption), shows);
      const QFontMetrics pixels(widget->font(), widget);
      if (language == Language::English && label) {
        EXPECT_LT(pixels.ascent() + pixels.tightBoundingRect(caption).bottom(), widget->height());
      }
      for (const char32_t character : caption.toUcs4()) {
        EXPECT_TRUE(QFontMetrics(widget->font()).inFontUcs4(character)) << character;
      }
    }
  }
}

// What the command line asks before any window: its own two options, Qt's left to Qt (with the
// -platform choice noted), anything else refused.
TEST(CommandLine, ReadsItsOwnOptionsAndLeavesQtsToQt) {
  using Action = CommandLine::Action;
  // clang-format off
  const struct { std::vector<const char*> arguments; Action action; bool platform; const char* text; } cases[] = {
      {{}, Action::OpenWindow, false, ""},
      {{"--version"}, Action::PrintVersion, false, "korvale 9.99\n"},
      {{"-v"}, Action::PrintVersion, false, "korvale 9.99\n"},
      {{"-style", "Fusion", "--help"}, Action::PrintUsage, false, "Usage: korvale [option...]\n"},
      {{"-h"}, Action::PrintUsage, false, "Usage: korvale [option...]\n"},
      {{"-platform", "wayland"}, Action::OpenWindow, true, ""},
      {{"--platform", "xcb", "-reverse", "--style", "Fusion"}, Action::OpenWindow, true, ""},
      {{"-display", ":1", "-stylesheet", "a.qss"}, Action::OpenWindow, false, ""},
      {{"--frobnicate"}, Action::Refuse, false, "korvale: unknown option '--frobnicate' (see korvale --help)\n"},
      {{"-style"}, Action::Refuse, false, "korvale: unknown option '-style' (see korvale --help)\n"},
      {{"Rede.txt"}, Action::Refuse, false, "korvale: unknown option 'Rede.txt' (see korvale --help)\n"},
      // The drive window, with a drive handed over as korvale-calc takes it (kept as typed).
      {{"-platform", "xcb", "--drive"}, Action::OpenDrive, true, ""},
      {{"--drive", "htd14m", "28", "112", "--centre=600.50", "--units", "in"}, Action::OpenDrive, false, "14M 28 112 centre 600.50 1 in"},
      {{"--drive", "T5", "10", "20", "--belt", "50"}, Action::OpenDrive, false, "T5 10 20 belt 50 1 mm"},
      {{"--drive", "5M", "20", "30", "--center", "90", "--increment", "5"}, Action::OpenDrive, false, "5M 20 30 centre 90 5 mm"},
      {{"--drive", "5M", "20", "30", "--centre", "90", "--format", "csv"}, Action::Refuse, false, "korvale: a drive takes PROFILE Z1 Z2 and --centre, --belt or --length"},
      {{"--drive", "14M", "28", "--centre", "600"}, Action::Refuse, false, "korvale: drive takes PROFILE Z1 Z2 and one of"},
      {{"--drive", "14M", "28", "112", "--length", "0"}, Action::Refuse, false, "korvale: --length \"0\": expected a positive number"},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::vector<const char*> argv{"korvale"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const CommandLine line = readCommandLine(static_cast<int>(argv.size()), argv.data(), "9.99");
    EXPECT_EQ(line.action, c.action) << argv.size();
    EXPECT_EQ(line.platformChosen, c.platform) << argv.size();
    const std::optional<DriveInputs>& drive = line.drive;
    const std::string text = !drive ? line.text
                                    : drive->profile + " " + drive->z1 + " " + drive->z2 + " " +
                                          drive->given + " " + drive->value + " " +
                                          drive->increment + " " + drive->units;
    EXPECT_EQ(text.substr(0, std::string(c.text).size()), c.text);
  }
}

// A text of many megabytes is kept out of Qt's text layout but stays editable, and a short text
// that follows it is shown as ever.
TEST(QtWindow, ABoxWithAHugeTextStaysEditable) {
  QtDriver driver;
  CalculatorWindow* window = &driver.open(Language::Chinese);
  // Laid out up to 100,000 characters; one more and the text leaves the layout.
  const std::string hundredThousand = "1" + std::string(99999, 'x');
  QLineEdit* box = window->textBox(ControlId::Text2_0);
  driver.act({Act::Replace, ControlId::Text2_0, hundredThousand});
  EXPECT_EQ(box->displayText().size(), 100000) << "still laid out";
  driver.act({Act::Type, ControlId::Text2_0, "$2"});
  EXPECT_EQ(window->form().Text2(0).text(), hundredThousand + "2");
  EXPECT_EQ(window->textBox(ControlId::Text1_0)->text(), "1.59");
  EXPECT_TRUE(box->displayText().isEmpty()) << "out of the layout";
  // Still a text: for the clipboard, undo and redo, and a screen reader.
  const QString whole = box->text();
  QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(box);
  EXPECT_EQ(spoken->role(), QAccessible::EditableText);
  EXPECT_FALSE(spoken->state().passwordEdit);
  EXPECT_EQ(spoken->text(QAccessible::Value),
            whole.left(1000) + QString("… (%1 characters)").arg(whole.size()));
  const struct {
    QKeySequence::StandardKey key;
    const char* boxHolds;   // "all", "" or "all but 2" (its last character)
    const char* clipboard;  // "all", "" or "2"
  } steps[] = {{QKeySequence::SelectAll, "all", ""},
               {QKeySequence::Copy, "all", "all"},
               {QKeySequence::Cut, "", "all"},
               {QKeySequence::Undo, "all", "all"},
               {QKeySequence::Redo, "", "all"},
               {QKeySequence::Undo, "all", "all"},
               {QKeySequence::MoveToEndOfLine, "all", "all"},
               {QKeySequence::SelectPreviousChar, "all", "all"},
               {QKeySequence::Cut, "all but 2", "2"},
               {QKeySequence::Undo, "all", "2"}};
  QGuiApplication::clipboard()->clear();
  const auto expand = [&](const std::string& held) {
    return held == "all"         ? whole
           : held == "all but 2" ? whole.left(whole.size() - 1)
           : held == "2"         ? QString("2")
                                 : QString();
  };
  for (const auto& step : steps) {
    QTest::keySequence(box, step.key);
    EXPECT_EQ(box->text(), expand(step.boxHolds)) << step.key;
    EXPECT_EQ(QString::fromStdString(window->form().Text2(0).text()), box->text()) << step.key;
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expand(step.clipboard)) << step.key;
  }
  driver.act({Act::Replace, ControlId::Text2_0, "23"});
  EXPECT_EQ(window->textBox(ControlId::Text2_0)->displayText(), "23");
  EXPECT_EQ(driver.shown(), "23 | 5M | 36.6 | 36.6");
}

}  // namespace
}  // namespace korvale::ui::qt

int main(int argc, char* argv[]) {
  korvale::ui::qt::Application application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
