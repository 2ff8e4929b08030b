#include "platform/qt/form_widget.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <exception>

#include "platform/io_error.h"

namespace meridax {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Rect(const TwipsBox& b) {
  return TwipsRect(b.left, b.top, b.width, b.height);
}

bool IsStepWindow(const QWidget* window) {
  return dynamic_cast<const FormWidget*>(window) != nullptr;
}

std::string ProcedureOf(const ControlSpec& control) {
  return std::string(control.name) + "_Click";
}

// A window's status box lent to another window while that one is not shown yet: what it says
// meanwhile (a wait for another program) shows here, and the box shows again what it showed
// before, typed or not, once the other window is done with it.
class LentStatus : public WidgetStepHost {
 public:
  LentStatus(QWidget* window, QLineEdit* box)
      : WidgetStepHost(window, box),
        box_(box),
        text_(box ? box->text() : QString()),
        toolTip_(box ? box->toolTip() : QString()),
        cursor_(box ? box->cursorPosition() : 0),
        typed_(box && box->isModified()) {}
  ~LentStatus() override {
    if (!box_ || box_->text() == text_) return;
    box_->setText(text_);
    box_->setCursorPosition(cursor_);
    box_->setToolTip(toolTip_);
    box_->setModified(typed_);
  }

 private:
  QPointer<QLineEdit> box_;
  QString text_, toolTip_;
  int cursor_;
  bool typed_;
};

}  // namespace

FormWidget::FormWidget(const WindowSpec& layout, const WindowRegistry* registry, StepHost* opener)
    : FormWidget(layout, NewSteps(layout, WindowContext{}), registry, opener) {}

FormWidget::FormWidget(const WindowSpec& layout, std::unique_ptr<WindowSteps> steps,
                       const WindowRegistry* registry, StepHost* opener)
    : layout_(layout), registry_(registry), steps_(std::move(steps)) {
  StepGate::Watch(IsStepWindow);
  setObjectName(Utf8(layout.className));
  setWindowTitle(Utf8(layout.caption));
  setFixedSize(TwipsToPixels(layout.width), TwipsToPixels(layout.height));
  // Qt shows tool tips only over the active window; the operator reads a window's whole
  // status (Text1's tool tip) by hovering it while working in another.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  Build();
  ShowOutputs();
  if (layout.load) {
    // Loading is part of opening the window: the click that opens it holds the gate.
    WidgetStepHost host(this, text1_);
    try {
      LoadWindow(layout, *steps_, host, opener);
    } catch (...) {
      // The window opens with what was loaded by then.
      host.ShowMessage("Form_Load エラー: " + CurrentFailureText());
    }
    ShowOutputs();
  }
}

FormWidget::~FormWidget() {
  // Left to QWidget, the views would go after the steps, and a window ended while shown
  // hides them first: they would read the freed grid and list to lay themselves out.
  delete grid_;
  delete list1_;
}

void FormWidget::Build() {
  // Frames first: the controls they hold are placed inside them.
  for (const ControlSpec& c : layout_.controls) {
    if (c.kind != ControlKind::kFrame) continue;
    auto* frame = new QGroupBox(Utf8(c.caption), this);
    frame->setGeometry(Rect(c.box));
    controls_.emplace(std::string(c.name), frame);
  }
  for (const ControlSpec& c : layout_.controls) {
    QWidget* parent = this;
    if (!c.frame.empty()) {
      if (const auto it = controls_.find(c.frame); it != controls_.end()) parent = it->second;
    }
    QWidget* widget = nullptr;
    switch (c.kind) {
      case ControlKind::kFrame:
        widget = controls_.at(std::string(c.name));
        break;
      case ControlKind::kButton: {
        auto* button = new QPushButton(Utf8(c.caption), parent);
        if (!c.opens.empty()) {
          connect(button, &QPushButton::clicked, this,
                  [this, className = c.opens] { RunAsStep([&] { Open(className); }); });
        } else if (c.click) {
          connect(button, &QPushButton::clicked, this, [this, &c] { Click(c); });
        }
        widget = button;
        break;
      }
      case ControlKind::kOptionButton: {
        auto* option = new QRadioButton(Utf8(c.caption), parent);
        options_.emplace(std::string(c.name), option);
        widget = option;
        break;
      }
      case ControlKind::kTextBox: {
        auto* box = new QLineEdit(Utf8(c.caption), parent);
        box->setCursorPosition(0);
        if (c.name == "Text1") text1_ = box;
        widget = box;
        break;
      }
      case ControlKind::kLabel:
        widget = new QLabel(Utf8(c.caption), parent);
        break;
      case ControlKind::kListBox: {
        list1_ = new ListBoxView(steps_->list, parent);
        // The operator's choice selects the entry, then the handler reads it.
        if (c.click) list1_->OnChoose([this, &c] { Click(c); });
        widget = list1_;
        break;
      }
      case ControlKind::kGrid:
        grid_ = new GridView(steps_->grid, parent);
        widget = grid_;
        break;
    }
    widget->setObjectName(Utf8(c.name));
    widget->setGeometry(Rect(c.box));
    controls_.emplace(std::string(c.name), widget);
  }
}

QWidget* FormWidget::Control(std::string_view name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

QPushButton* FormWidget::Button(std::string_view name) const {
  return qobject_cast<QPushButton*>(Control(name));
}

void FormWidget::CopyInputsIn() {
  if (text1_) {
    // Edited by the operator since the last click took it in: typed, even if it reads as the
    // status that was there.
    if (text1_->isModified()) {
      steps_->TypeText1(text1_->text().toStdString());
      text1_->setModified(false);
    } else {
      steps_->text1 = text1_->text().toStdString();
    }
  }
  steps_->option = 0;
  for (const auto& [name, button] : options_) {
    if (button && button->isChecked()) steps_->option = OptionNumber(layout_, name);
  }
  if (list1_) {
    const QModelIndex current = list1_->currentIndex();
    steps_->list.SetSelected(current.isValid() ? current.row() : -1);
  }
}

void FormWidget::ShowOutputs() {
  if (text1_ && text1_->text().toStdString() != steps_->text1)
    ShowStatusText(text1_, steps_->text1);
  for (const auto& [name, button] : options_) {
    const bool selected = OptionNumber(layout_, name) == steps_->option;
    if (!button || button->isChecked() == selected) continue;
    // Option buttons of one frame exclude each other; none selected needs that lifted.
    button->setAutoExclusive(false);
    button->setChecked(selected);
    button->setAutoExclusive(true);
  }
  if (list1_) list1_->Refresh();
  if (grid_) grid_->Refresh();
}

bool FormWidget::Click(const ControlSpec& control) {
  return RunGated(ProcedureOf(control),
                  [&](StepHost& host) { return RunControl(control, *steps_, host); });
}

bool FormWidget::RunAsStep(const std::function<void()>& step) {
  const bool ran = StepGate::Run([&] {
    stepRunning_ = true;
    struct End {
      bool& running;
      ~End() { running = false; }
    } end{stepRunning_};
    step();
  });
  if (ran && closeAsked_) {
    closeAsked_ = false;
    close();  // may delete this window (WA_DeleteOnClose), later in the event loop
  }
  return ran;
}

void FormWidget::closeEvent(QCloseEvent* event) {
  if (stepRunning_) {
    closeAsked_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

bool FormWidget::RunGated(std::string_view procedure,
                          const std::function<StepResult(StepHost&)>& run) {
  return RunAsStep([&] {
    WidgetStepHost host(this, text1_);
    CopyInputsIn();
    try {
      run(host);
    } catch (...) {
      host.ShowMessage(std::string(procedure) + " エラー: " + CurrentFailureText());
    }
    ShowOutputs();
  });
}

void FormWidget::Open(std::string_view className) {
  const WindowSpec* layout = registry_ ? registry_->Find(className) : nullptr;
  if (!layout) return;
  // A new instance on every click, without owner; it lives until the operator closes it.
  try {
    LentStatus status(this, text1_);
    auto* window = new FormWidget(*layout, registry_, &status);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  } catch (...) {
    WidgetStepHost(this, text1_)
        .ShowMessage(std::string(className) + " エラー: " + CurrentFailureText());
  }
}

}  // namespace meridax
