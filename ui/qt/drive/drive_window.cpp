#include "ui/qt/drive/drive_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/drive/drive_words.h"
#include "ui/qt/drive/drive_canvas.h"

namespace korvale::ui::qt {
namespace {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Language desktopLanguage() {
  return languageForDesktop(QLocale::system().uiLanguages().value(0).toStdString());
}

// Paints a cell's figure as one line of text. The style's own item painting lays every cell out
// as a paragraph, which made the table the dearest part of a keystroke.
class FigureDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The room left of and right of a figure.
  static int marginFor(const QFontMetrics& metrics) { return metrics.averageCharWidth() / 2 + 1; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const int margin = marginFor(option.fontMetrics);
    painter->drawText(option.rect.adjusted(margin, 0, -margin, 0),
                      index.data(Qt::TextAlignmentRole).toInt(), index.data().toString());
    if (option.state.testFlag(QStyle::State_HasFocus)) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(option);
      focus.backgroundColor = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
      const QWidget* view = option.widget;
      (view != nullptr ? view->style() : QApplication::style())
          ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view);
    }
  }
};

constexpr const auto& kColumns = kDriveColumns;

}  // namespace

// Holds a label at a fixed height and the width it is given, outside any layout: a new text then
// repaints the label alone instead of laying the whole window out again on every keystroke. A
// text that needs more lines than the strip holds makes it taller (and one that needs fewer gives
// them back, down to its first height): no line is ever cut.
class FixedLines : public QWidget {
 public:
  FixedLines(QLabel* label, int lines, QWidget* parent) : QWidget(parent), label_(label) {
    label_->setParent(this);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The lines of the label's own font: a text in another script may come in a taller face.
    least_ = lines * label_->fontMetrics().lineSpacing() + kMargin;
    setFixedHeight(least_);
    // Opaque, so that a new text repaints this strip alone and not the group box around it.
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }

  void setText(const QString& text) {
    if (label_->text() == text) return;
    label_->setText(text);
    fit();
  }

 protected:
  void resizeEvent(QResizeEvent*) override {
    label_->setGeometry(rect());
    fit();
  }
  void showEvent(QShowEvent*) override { fit(); }

 private:
  static constexpr int kMargin = 4;

  // Only on the screen: while the window is first laid out its strips pass through widths far
  // narrower than they end at, and a height fitted to those would stretch the window.
  void fit() {
    if (!isVisible()) return;
    const int needed = std::max(least_, label_->heightForWidth(width()) + kMargin);
    if (needed != height()) setFixedHeight(needed);
  }

  QLabel* label_;
  int least_ = 0;
};

DriveWindow::DriveWindow(DriveFile file, std::optional<DriveInputs> handedOver,
                         ErrorReporter reporter, std::optional<Language> language)
    : reporter_(reporter ? std::move(reporter)
                         : ErrorReporter(
                               [](QWidget* parent, const QString& title, const QString& message) {
                                 QMessageBox::warning(parent, title, message);
                               })),
      language_(language ? *language : desktopLanguage()),
      form_(std::make_unique<DriveForm>(static_cast<DriveFrontEnd&>(*this), std::move(file),
                                        std::move(handedOver))) {
  setWindowTitle(toQString(driveWord(DriveWord::Title, language_)));
  build();
  form_->load();
  mirror();
  // Wide enough for every column, as far as the screen allows; a table wider than that scrolls.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize room = screen != nullptr ? screen->availableGeometry().size() : QSize(1280, 800);
  resize(std::min(std::max(900, sizeHint().width()), room.width()), std::min(720, room.height()));
}

DriveWindow::~DriveWindow() = default;

void DriveWindow::build() {
  const auto word = [this](DriveWord w) { return toQString(driveWord(w, language_)); };
  const auto name = [this](DriveWord w) { return toQString(driveName(w, language_)); };
  auto* inputs = new QFormLayout;
  auto* loadInputs = new QFormLayout;
  const auto addEdit = [&](DriveField field, DriveWord label, QFormLayout* form) {
    auto* edit = new QLineEdit(this);
    edit->setMaximumWidth(120);
    edit->setAccessibleName(name(label));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
      form_->userEdited(field, text.toStdString());
      mirror();
    });
    edits_[field] = edit;
    auto* caption = new QLabel(word(label), this);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
  };
  const auto addList = [&](DriveField field, DriveWord label, const QStringList& entries) {
    auto* list = new QComboBox(this);
    list->addItems(entries);
    list->setAccessibleName(name(label));
    list->installEventFilter(this);
    connect(list, &QComboBox::activated, this, [this, field](int index) {
      form_->userPicked(field, index);
      mirror();
    });
    lists_[field] = list;
    auto* caption = new QLabel(word(label), this);
    caption->setBuddy(list);
    inputs->addRow(caption, list);
  };
  QStringList profiles;
  for (const std::string& entry : DriveForm::profileEntries()) profiles << toQString(entry);
  addList(DriveField::Profile, DriveWord::Profile, profiles);
  addEdit(DriveField::Z1, DriveWord::DrivingTeeth, inputs);
  addEdit(DriveField::Z2, DriveWord::DrivenTeeth, inputs);
  addList(DriveField::Given, DriveWord::Given,
          {word(DriveWord::GivenCentre), word(DriveWord::GivenBelt), word(DriveWord::GivenLength)});
  addEdit(DriveField::Value, DriveWord::Value, inputs);
  addEdit(DriveField::Increment, DriveWord::Increment, inputs);
  addList(DriveField::Units, DriveWord::Units, {"mm", "in"});
  auto* load = new QGroupBox(word(DriveWord::Load), this);
  load->setLayout(loadInputs);
  for (std::size_t i = kFirstLoadInput; i < std::size(kDriveInputs); ++i) {
    addEdit(kDriveInputs[i].first, kDriveInputs[i].second, loadInputs);
  }
  copy_ = new QPushButton(word(DriveWord::Copy), this);
  copy_->installEventFilter(this);
  connect(copy_, &QPushButton::clicked, this, [this] { form_->copy(); });

  auto* results = new QGroupBox(word(DriveWord::Results), this);
  results->setFlat(true);
  auto* resultsLayout = new QVBoxLayout(results);
  summary_ = new QLabel;
  summary_->setTextFormat(Qt::PlainText);
  rows_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)), results);
  QStringList headings;
  for (const DriveWord column : kColumns) headings << word(column);
  rows_->setHorizontalHeaderLabels(headings);
  rows_->verticalHeader()->hide();
  rows_->setItemDelegate(new FigureDelegate(rows_));
  rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  rows_->setSelectionMode(QAbstractItemView::SingleSelection);
  // The window opens wide enough for every column of the drive it shows first.
  rows_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContentsOnFirstShow);
  // Three rows always show, with room for a scroll bar should the window be narrow.
  rows_->setFixedHeight(rows_->horizontalHeader()->sizeHint().height() +
                        3 * rows_->verticalHeader()->defaultSectionSize() +
                        2 * rows_->frameWidth() +
                        rows_->horizontalScrollBar()->sizeHint().height());
  rows_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  rows_->setAccessibleDescription(word(DriveWord::UseBelt));
  rows_->installEventFilter(this);
  // A double-click on a stock belt, or Enter on it, makes it the given belt; one click only
  // selects it, as in any list. Enter is taken in the event filter: whether Qt activates a cell
  // on one click or on two is the style's to say.
  connect(rows_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { adoptRow(row); });
  notes_ = new QLabel;
  notes_->setWordWrap(true);
  notes_->setTextFormat(Qt::PlainText);
  summaryLines_ = new FixedLines(summary_, 3, results);
  notesLines_ = new FixedLines(notes_, 4, results);
  loadNotes_ = new QLabel;
  loadNotes_->setWordWrap(true);
  loadNotes_->setTextFormat(Qt::PlainText);
  loadLines_ = new FixedLines(loadNotes_, 1, results);
  // The sources and methods apart: they stay as they are while the figures change.
  loadMethods_ = new QLabel;
  loadMethods_->setWordWrap(true);
  loadMethods_->setTextFormat(Qt::PlainText);
  loadMethodLines_ = new FixedLines(loadMethods_, 1, results);
  resultsLayout->addWidget(summaryLines_);
  resultsLayout->addWidget(rows_);
  resultsLayout->addWidget(notesLines_);
  resultsLayout->addWidget(loadLines_);
  resultsLayout->addWidget(loadMethodLines_);

  canvas_ = new DriveCanvas(this);
  canvas_->setAccessibleName(name(DriveWord::Drawing));
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addLayout(inputs);
  left->addWidget(load);
  left->addWidget(copy_, 0, Qt::AlignLeft);
  left->addStretch(1);
  top->addLayout(left);
  top->addWidget(results, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(canvas_, 1);
}

// Each input shows what the form holds (a box being typed into already does, and keeps its
// cursor); then the results.
void DriveWindow::mirror() {
  const DriveInputs& inputs = form_->inputs();
  for (const DriveField field : DriveForm::kTextFields) {
    QLineEdit* edit = edits_.at(field);
    if (edit->text().toStdString() != form_->text(field)) {
      const QSignalBlocker mute(edit);
      edit->setText(toQString(form_->text(field)));
    }
  }
  for (const auto& [field, list] : lists_) {
    const QSignalBlocker mute(list);
    if (list->currentIndex() != form_->selectedIndex(field))
      list->setCurrentIndex(form_->selectedIndex(field));
  }
  edits_.at(DriveField::Increment)->setEnabled(inputs.given == "centre");
  mirrorResults();
}

// Only what changed is set: a keystroke that leaves a text as it was costs no layout.
void DriveWindow::mirrorResults() {
  const auto setText = [](auto* widget, const QString& text) {
    if (widget->text() != text) widget->setText(text);
  };
  const std::optional<report::DriveText>& results = form_->results();
  canvas_->setShapes(form_->drawing());
  copy_->setEnabled(results.has_value());
  // Rows no longer needed are hidden rather than removed: typing through an error and back would
  // otherwise build the rows' cells anew each time, the dearest part of such a keystroke.
  const std::size_t shown = results ? results->rows.size() : 0;
  if (static_cast<int>(shown) > rows_->rowCount()) rows_->setRowCount(static_cast<int>(shown));
  for (int r = 0; r < rows_->rowCount(); ++r) {
    const bool hidden = static_cast<std::size_t>(r) >= shown;
    // A hidden row's cells keep their last figures; a screen reader is told they are invisible.
    if (rows_->isRowHidden(r) != hidden) rows_->setRowHidden(r, hidden);
  }
  const std::optional<report::LoadText>& load = form_->loadResults();
  for (int column = static_cast<int>(kFirstLoadColumn); column < rows_->columnCount(); ++column) {
    if (rows_->isColumnHidden(column) == load.has_value()) rows_->setColumnHidden(column, !load);
  }
  QStringList loadNotes, loadMethods;
  if (load) {
    const std::vector<std::string> lines = loadLines(*load, language_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      (i < loadMethodLine(*load) ? loadNotes : loadMethods) << toQString(lines[i]);
    }
  } else if (!form_->loadError().empty()) {
    loadNotes << toQString(form_->loadError());
  }
  loadLines_->setText(loadNotes.join("\n"));
  loadMethodLines_->setText(loadMethods.join("\n"));
  if (!results) {
    summaryLines_->setText(QString());
    notesLines_->setText(toQString(form_->error()));
    return;
  }
  const QString unit = toQString(results->unit);
  for (int column = 1; column <= 3; ++column) {
    setText(rows_->horizontalHeaderItem(column),
            toQString(driveWord(kColumns[column], language_)) + " (" + unit + ")");
  }
  if (load) {
    setText(rows_->horizontalHeaderItem(static_cast<int>(kFirstLoadColumn)),
            toQString(driveWord(DriveWord::WidthColumn, language_)) + " (" +
                toQString(load->widthUnit) + ")");
  }
  summaryLines_->setText(toQString(driveSummary(*results, language_)));
  static const std::string none;
  for (std::size_t r = 0; r < results->rows.size(); ++r) {
    const report::DriveTextRow& row = results->rows[r];
    const report::LoadTextRow* figures = load ? &load->rows[r] : nullptr;
    const auto loadCell = [&](const std::string report::LoadTextRow::*cell) {
      return figures != nullptr ? &(figures->*cell) : &none;
    };
    const std::string* cells[] = {&row.kind,
                                  &row.centre,
                                  &row.change,
                                  &row.length,
                                  &row.beltTeeth,
                                  &row.wrap1,
                                  &row.wrap2,
                                  &row.mesh1,
                                  &row.mesh2,
                                  loadCell(&report::LoadTextRow::width),
                                  loadCell(&report::LoadTextRow::rated),
                                  loadCell(&report::LoadTextRow::margin),
                                  loadCell(&report::LoadTextRow::tStatic),
                                  loadCell(&report::LoadTextRow::tTight),
                                  loadCell(&report::LoadTextRow::tSlack),
                                  loadCell(&report::LoadTextRow::frequency),
                                  loadCell(&report::LoadTextRow::hubStatic),
                                  loadCell(&report::LoadTextRow::hubRunning)};
    for (std::size_t c = 0; c < std::size(cells); ++c) {
      const auto at = std::pair{static_cast<int>(r), static_cast<int>(c)};
      QTableWidgetItem* item = rows_->item(at.first, at.second);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                      : Qt::AlignRight | Qt::AlignVCenter);
        rows_->setItem(at.first, at.second, item);
      }
      setText(item,
              toQString(c == 0 ? driveCase(row.kind, language_) : std::string_view(*cells[c])));
    }
  }
  QStringList notes;
  for (const std::string& warning :
       driveWarnings(*results, *FindBeltProfile(form_->inputs().profile), language_)) {
    notes << toQString(warning);
  }
  notesLines_->setText(notes.join("\n"));
  fitColumns(shown);
}

// Each column as wide as its heading and its widest figure, so that no figure is ever shown cut;
// set only where that changed, which a keystroke seldom does.
void DriveWindow::fitColumns(std::size_t rowsShown) {
  const QFontMetrics metrics = rows_->fontMetrics();
  const int room = 2 * FigureDelegate::marginFor(metrics) + 2;
  for (int c = 0; c < rows_->columnCount(); ++c) {
    if (rows_->isColumnHidden(c)) continue;
    int width = rows_->horizontalHeader()->sectionSizeHint(c);
    for (int r = 0; r < static_cast<int>(rowsShown); ++r) {
      width = std::max(width, metrics.horizontalAdvance(rows_->item(r, c)->text()) + room);
    }
    if (rows_->columnWidth(c) != width) rows_->setColumnWidth(c, width);
  }
}

void DriveWindow::adoptRow(int row) {
  form_->adoptStockBelt(static_cast<std::size_t>(row));
  mirror();
}

// Ctrl+C copies the results unless a box holds a selection, which it then copies as usual; Enter
// on a stock belt adopts it.
bool DriveWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (watched == rows_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    if (rows_->currentRow() >= 0) adoptRow(rows_->currentRow());
    return true;
  }
  if (key->matches(QKeySequence::Copy)) {
    const auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || !edit->hasSelectedText()) {
      form_->copy();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void DriveWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  QTimer::singleShot(0, this, [this] { form_->windowShown(); });
}

void DriveWindow::closeEvent(QCloseEvent* event) {
  hide();
  form_->close();
  event->accept();
}

void DriveWindow::showErrorReport(const std::string& title, const std::string& message) {
  reporter_(this, toQString(title), toQString(message));
}

void DriveWindow::copyToClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(toQString(text));
}

}  // namespace korvale::ui::qt
