#include "platform/qt/widget_host.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputEvent>
#include <QMessageBox>
#include <limits>
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

void WidgetStepHost::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString(),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok, window_);
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
// offset between the two clocks; it never places an event later than it was made.
QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock;
}
constexpr qint64 kUnknown = std::numeric_limits<qint64>::min();
qint64 clockOffset = kUnknown;
qint64 lastStepEnd = kUnknown;  // in event time

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
    const auto time = static_cast<qint64>(static_cast<QInputEvent*>(event)->timestamp());
    clockOffset = std::max(clockOffset, time - Clock().elapsed());
    return stepRunning || StepGate::MadeBeforeLastStepEnded(static_cast<quint64>(time));
  }

 private:
  std::function<bool(const QWidget*)> isStepWindow_;
};

}  // namespace

bool StepGate::Busy() {
  return stepRunning;
}

bool StepGate::MadeBeforeLastStepEnded(quint64 eventTime) {
  return lastStepEnd != kUnknown && static_cast<qint64>(eventTime) < lastStepEnd;
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
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct End {
    ~End() {
      QApplication::restoreOverrideCursor();
      stepRunning = false;
      if (clockOffset != kUnknown) lastStepEnd = Clock().elapsed() + clockOffset;
    }
  } end;
  step();
  return true;
}

}  // namespace meridax
