#include "platform/qt/widget_host.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QInputEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <limits>
#include <utility>
#include <vector>

#include "platform/data_folder_lock.h"

namespace meridax {

QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

void ShowStatusText(QLineEdit* box, std::string_view text) {
  const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  box->setText(shown);
  box->setCursorPosition(0);
  box->setToolTip(shown);
}

int ExecAwaitingOperator(QDialog& dialog) {
  std::vector<QCursor> held;
  while (const QCursor* cursor = QApplication::overrideCursor()) {
    held.push_back(*cursor);
    QApplication::restoreOverrideCursor();
  }
  struct Restore {
    std::vector<QCursor>& held;
    ~Restore() {
      for (auto it = held.rbegin(); it != held.rend(); ++it) QApplication::setOverrideCursor(*it);
    }
  } restore{held};
  // The operator may take their time: another program's commit does not wait for them.
  const DataFolderReadingPause pause;
  return dialog.exec();
}

WidgetStepHost::WidgetStepHost(QWidget* window, QLineEdit* statusBox)
    : window_(window), statusBox_(statusBox) {}

void WidgetStepHost::SetStatus(std::string_view text) {
  if (statusBox_) {
    ShowStatusText(statusBox_, text);
    statusBox_->repaint();
  }
}

std::string WidgetStepHost::Status() const {
  return statusBox_ ? statusBox_->text().toStdString() : std::string();
}

namespace {

// A message with an OK button. Qt's own message box wraps any text wider than half the
// screen, and its line breaking breaks Japanese text and paths anywhere ("C:" /
// "\MERIDAXPROJECT\…"): here every line stays whole and the box widens up to the screen's
// width; only a line wider than that is wrapped.
class MessageBox : public QDialog {
 public:
  MessageBox(const QString& text, QWidget* parent) : QDialog(parent) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextInteractionFlags(
        style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, this)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label);
    layout->addWidget(buttons);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The window system's frame around the box, as it stands around the window it is over.
    const int frame = parent && parent->window()->isVisible()
                          ? parent->window()->frameGeometry().width() - parent->window()->width()
                          : 0;
    const QMargins margins = layout->contentsMargins();
    const int widest =
        screen->availableGeometry().width() - frame - margins.left() - margins.right();
    if (label->sizeHint().width() > widest) {
      label->setWordWrap(true);
      label->setFixedWidth(widest);
    }
  }
};

}  // namespace

void WidgetStepHost::ShowMessage(std::string_view text) {
  MessageBox box(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), window_);
  ExecAwaitingOperator(box);
}

void WidgetStepHost::ProcessEvents() {
  QCoreApplication::processEvents();
}

namespace {

bool stepRunning = false;

// Input events carry the window system's time, whose origin the program does not know.
// An event is delivered at or after it was made, so the largest difference seen between an
// event's time and the program's clock at its delivery is the closest estimate of the
// offset between the two clocks; it never places an event earlier than it was made. That
// clock counts milliseconds in 32 bits and starts again from 0 after about 49.7 days: a time
// well before the last one seen starts a new estimate (delivery out of order by less keeps
// it). Step ends are kept in the program's time, which goes on across such a change.
QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock;
}
constexpr qint64 kUnknown = std::numeric_limits<qint64>::min();
constexpr qint64 kNewOrigin = 1000;  // ms back
qint64 clockOffset = kUnknown;
qint64 lastEventTime = kUnknown;
qint64 lastStepEnd = kUnknown;  // in the program's time

// When an input event of this time, delivered now, was made, in the program's time.
qint64 MadeAt(qint64 eventTime) {
  if (lastEventTime != kUnknown && eventTime < lastEventTime - kNewOrigin) clockOffset = kUnknown;
  lastEventTime = eventTime;
  clockOffset = std::max(clockOffset, eventTime - Clock().elapsed());
  return eventTime - clockOffset;
}

// A double click runs one step: when the first click started a step, the second is part of
// it, also once that step has ended (a short one ends before the second click comes). The
// window system tells a double click by its own interval; Qt then delivers the second press
// as a double click, which a button takes for a press.
QPointer<const QObject> delivering;  // the control an input event is delivered to now
QPointer<const QObject> stepStartedOn;
// A control whose press was ignored: its release is too, or a list would take it for a click
// on the entry pressed before.
QPointer<const QObject> releaseIgnored;

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return true;
    default:
      return false;
  }
}

class InputFilter : public QObject {
 public:
  explicit InputFilter(std::function<bool(const QWidget*)> isStepWindow)
      : isStepWindow_(std::move(isStepWindow)) {}

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!IsInput(event->type())) return false;
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || !isStepWindow_(widget->window())) return false;
    const bool madeBefore =
        StepGate::MadeBeforeLastStepEnded(static_cast<QInputEvent*>(event)->timestamp());
    bool ignored = stepRunning || madeBefore;
    switch (event->type()) {
      case QEvent::MouseButtonDblClick:
        ignored |= widget == stepStartedOn.data();
        [[fallthrough]];
      case QEvent::MouseButtonPress:
        releaseIgnored = ignored ? widget : nullptr;
        break;
      case QEvent::MouseButtonRelease:
        ignored |= widget == std::exchange(releaseIgnored, nullptr).data();
        break;
      default:
        break;
    }
    if (!ignored) delivering = widget;
    return ignored;
  }

 private:
  std::function<bool(const QWidget*)> isStepWindow_;
};

}  // namespace

bool StepGate::Busy() {
  return stepRunning;
}

bool StepGate::MadeBeforeLastStepEnded(quint64 eventTime) {
  return MadeAt(static_cast<qint64>(eventTime)) < lastStepEnd;
}

void StepGate::Watch(const std::function<bool(const QWidget* window)>& isStepWindow) {
  static QPointer<QObject> installed;
  if (installed || !qApp) return;
  installed = new InputFilter(isStepWindow);
  installed->setParent(qApp);
  qApp->installEventFilter(installed);
}

bool StepGate::Run(const std::function<void()>& step) {
  if (stepRunning) return false;
  stepRunning = true;
  stepStartedOn = delivering;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct End {
    ~End() {
      QApplication::restoreOverrideCursor();
      stepRunning = false;
      lastStepEnd = Clock().elapsed();
    }
  } end;
  step();
  return true;
}

}  // namespace meridax
