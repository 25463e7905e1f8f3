#include "ui/qt/calculator/calculator_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <limits>

#include "ui/qt/application.h"
#include "ui/qt/calculator/fonts.h"
#include "ui/qt/calculator/line_edit.h"

namespace korvale::ui::qt {
namespace {

// Qt lays out in device-independent pixels and scales them with the screen itself, so the twips
// are converted at the 96 DPI that such a pixel stands for.
constexpr int kLogicalDpi = 96;

int px(int twips) {
  return twipsToPixels(twips, kLogicalDpi);
}

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view view(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void showMessageBox(QWidget* parent, const QString& title, const QString& message) {
  QMessageBox::critical(parent, title, message);
}

// Qt's first interface language honours LANGUAGE, LC_ALL, LC_MESSAGES and LANG: "zh-CN", "C".
Language desktopLanguage() {
  return languageForDesktop(QLocale::system().uiLanguages().value(0).toStdString());
}

}  // namespace

CalculatorWindow::CalculatorWindow(StateFile stateFile, ErrorReporter reporter,
                                   std::optional<Language> language)
    : reporter_(reporter ? std::move(reporter) : ErrorReporter(showMessageBox)),
      language_(language ? *language : desktopLanguage()),
      form_(std::make_unique<Form1>(static_cast<FrontEnd&>(*this), std::move(stateFile))) {
  const WindowDescription& description = Form1Description();
  setWindowTitle(toQString(description.caption));
  setWindowIcon(QIcon(QStringLiteral(":/korvale.ico")));
  setFixedSize(px(description.clientWidthTwips), px(description.clientHeightTwips));
  buildControls();
  bindTextBox(ControlId::Text2_0, form_->Text2(0));
  bindTextBox(ControlId::Text1_0, form_->Text1(0));
  bindTextBox(ControlId::Text1_1, form_->Text1(1));
  bindComboBox(form_->Combo1(1));

  // The session ending quits the application without closing its windows: save then too. The
  // form closes once, whichever comes first.
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { form_->close(); });
  if (auto* application = dynamic_cast<Application*>(QCoreApplication::instance())) {
    application->onOutOfMemory([this] { reportOutOfMemory(); });
  }

  form_->load();
  placeCentredOnScreen();
  textBoxes_.at(ControlId::Text2_0)->setFocus();
}

CalculatorWindow::~CalculatorWindow() {
  if (auto* application = dynamic_cast<Application*>(QCoreApplication::instance())) {
    application->onOutOfMemory({});
  }
}

QLineEdit* CalculatorWindow::textBox(ControlId id) const {
  return textBoxes_.at(id);
}

void CalculatorWindow::buildControls() {
  const WindowDescription& description = Form1Description();
  std::map<ControlId, QWidget*> widgets;
  for (const ControlDescription& control : description.controls) {
    const auto frame = widgets.find(ControlId::Frame1);
    QWidget* container = control.insideFrame && frame != widgets.end() ? frame->second : this;
    widgets[control.id] = buildControl(control, container);
  }
  for (const ControlDescription& control : description.controls) {
    // A label reaching under the box beside it is drawn beneath that box.
    if (control.kind == ControlKind::Label) widgets.at(control.id)->lower();
    // Each input and result is named by its label, for screen readers and for Alt+letter.
    if (const std::optional<ControlId> label = labelOf(control.id)) {
      const QString name = toQString(ui::accessibleName(control.id, language_));
      widgets.at(control.id)->setAccessibleName(name);
      // On Linux Qt names an editable combo box by its text; the field inside carries the name.
      if (control.id == ControlId::Combo1_1) combo_->lineEdit()->setAccessibleName(name);
      static_cast<QLabel*>(widgets.at(*label))->setBuddy(widgets.at(control.id));
    }
  }

  const auto order = description.tabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    auto widgetFor = [this](ControlId id) -> QWidget* {
      return id == ControlId::Combo1_1 ? static_cast<QWidget*>(combo_) : textBoxes_.at(id);
    };
    QWidget::setTabOrder(widgetFor(order[i]->id), widgetFor(order[i + 1]->id));
  }
}

QWidget* CalculatorWindow::buildControl(const ControlDescription& control, QWidget* container) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(toQString(captionOf(control.id, language_)), container);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::TextBox: {
      auto* edit = new LineEdit(container);
      edit->setMaxLength(std::numeric_limits<int>::max());
      edit->setAlignment(Qt::AlignLeft);
      textBoxes_[control.id] = edit;
      widget = edit;
      break;
    }
    case ControlKind::DropDownComboBox: {
      combo_ = new QComboBox(container);
      combo_->setEditable(true);
      comboField_ = new LineEdit(combo_);
      combo_->setLineEdit(comboField_);
      combo_->setInsertPolicy(QComboBox::NoInsert);
      combo_->setCompleter(nullptr);
      combo_->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
      // On Enter, and whenever the field loses the focus (to the opening list too), an editable
      // QComboBox selects the entry equal to the typed text and reports it as a pick, and Enter
      // may insert the text as a new entry. Here a typed text never selects or adds an entry.
      QObject::disconnect(combo_->lineEdit(), &QLineEdit::returnPressed, combo_, nullptr);
      QObject::disconnect(combo_->lineEdit(), &QLineEdit::editingFinished, combo_, nullptr);
      for (std::string_view entry : Form1Description().pitchListEntries) {
        combo_->addItem(toQString(entry), 0);
      }
      widget = combo_;
      break;
    }
    case ControlKind::Frame:
      widget = new QGroupBox(toQString(captionOf(control.id, language_)), container);
      break;
  }
  widget->setObjectName(toQString(control.name) + "(" + QString::number(control.member) + ")");
  widget->setFont(fontFor(control.font));
  widget->setGeometry(px(control.bounds.left), px(control.bounds.top), px(control.bounds.width),
                      px(control.bounds.height));
  return widget;
}

void CalculatorWindow::bindTextBox(ControlId id, TextBoxModel& model) {
  LineEdit* edit = textBoxes_.at(id);
  edit->setTextOfAnyLength(toQString(model.text()));
  model.onDisplayChanged([this, edit, &model] {
    // The user's own edit already stands in the box: converting it back only to compare would
    // double the work of a huge paste.
    if (edit == editReported_) return;
    const QString text = toQString(model.text());
    if (edit->text() == text) return;
    const QSignalBlocker mute(edit);
    edit->setTextOfAnyLength(text);
  });
  // textEdited fires for the user's changes only (typing, deleting, pasting, undo), never for
  // setText, so the mirror above cannot echo back.
  connect(edit, &QLineEdit::textEdited, this,
          [this, id, edit](const QString& text) { reportEdit(edit, id, text); });
}

void CalculatorWindow::bindComboBox(ComboBoxModel& model) {
  {
    const QSignalBlocker mute(combo_);
    combo_->setCurrentIndex(-1);
  }
  mirrorComboBox(model);
  model.onDisplayChanged([this, &model] { mirrorComboBox(model); });
  connect(combo_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    reportEdit(combo_->lineEdit(), ControlId::Combo1_1, text);
  });
  // activated: the user chose an entry, with the mouse or the keyboard, list open or closed.
  connect(combo_, &QComboBox::activated, this, [this](int index) { form_->userPicked(index); });
}

// The text goes to the form as UTF-8 in one conversion, however long it is.
void CalculatorWindow::reportEdit(QLineEdit* edit, ControlId id, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  editReported_ = edit;
  form_->userEdited(id, view(utf8));
  editReported_ = nullptr;
}

// While the user types, Qt's current index is left where it was: moving it to -1 would clear the
// field and its undo history. The model's selection is the one that counts, and a later pick sets
// both again.
void CalculatorWindow::mirrorComboBox(const ComboBoxModel& model) {
  const QSignalBlocker mute(combo_);
  const QSignalBlocker muteField(combo_->lineEdit());
  if (model.SelectedIndex() >= 0 && combo_->currentIndex() != model.SelectedIndex()) {
    combo_->setCurrentIndex(model.SelectedIndex());
  }
  const QString text = toQString(model.text());
  if (combo_->currentText() != text) {
    comboField_->setTextOfAnyLength(text);
  }
}

void CalculatorWindow::placeCentredOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

// A report held back during start-up goes up once the window is on the screen, from the event
// loop, so that the window is drawn beneath it first.
void CalculatorWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  QTimer::singleShot(0, this, [this] { form_->windowShown(); });
}

// The window goes first: drawn again while it loses the activation, a box holding a text of
// many megabytes would keep it frozen on the screen for seconds after the user closed it.
void CalculatorWindow::closeEvent(QCloseEvent* event) {
  hide();
  form_->close();
  event->accept();
}

void CalculatorWindow::makeTopmost() {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void CalculatorWindow::showErrorReport(const std::string& title, const std::string& message) {
  reporter_(this, toQString(title), toQString(message));
}

// What failed may have left a widget half-changed (Qt inserts a paste before it records the
// undo step that ran out of memory): every box shows again what the form holds.
void CalculatorWindow::reportOutOfMemory() {
  for (const auto& [id, edit] : textBoxes_) {
    const QString held = toQString(form_->textBox(id).text());
    if (edit->text() != held) {
      const QSignalBlocker mute(edit);
      edit->setTextOfAnyLength(held);
    }
  }
  mirrorComboBox(form_->Combo1(1));
  form_->outOfMemory();
}

void CalculatorWindow::endProgram() {
  hide();
  QCoreApplication::exit(1);
}

}  // namespace korvale::ui::qt
