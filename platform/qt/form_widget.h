#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/qt/model_views.h"
#include "platform/qt/widget_host.h"
#include "platform/window.h"

namespace meridax {

// A window with a display, built from its WindowSpec: one widget per control at its twips
// box, over an instance of the window's steps. Before a handler runs, what the operator
// typed and chose is copied into the steps (Text1, the option button, the List1
// selection); after it, the controls show the steps' models again. Handlers run one at a
// time in the whole program (StepGate). A button that opens another window creates a new
// instance of that class from `registry`, modeless and without owner. A window closed while
// one of its steps runs (the step lets the message loop run) stays until that step has ended,
// then closes: the step reads the window's steps and controls to its end.
class FormWidget : public QWidget {
 public:
  // Creates the window's steps and runs its Form_Load. A wait of the load for another program
  // shows in `opener`, the status of the window whose button opens this one, when it has one.
  FormWidget(const WindowSpec& layout, const WindowRegistry* registry, StepHost* opener = nullptr);
  FormWidget(const WindowSpec& layout, std::unique_ptr<WindowSteps> steps,
             const WindowRegistry* registry, StepHost* opener = nullptr);
  ~FormWidget() override;

  const WindowSpec& layout() const { return layout_; }
  WindowSteps& steps() { return *steps_; }
  QWidget* Control(std::string_view name) const;
  QPushButton* Button(std::string_view name) const;
  QLineEdit* Text1() const { return text1_; }
  GridView* Grid() const { return grid_; }
  ListBoxView* List1() const { return list1_; }

  // Runs a control's click as the operator's click does; false when another step ran.
  bool Click(const ControlSpec& control);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  void CopyInputsIn();
  void ShowOutputs();
  void Open(std::string_view className);
  // Runs a handler under the gate; failures it does not meet itself are shown, not fatal.
  bool RunGated(std::string_view procedure, const std::function<StepResult(StepHost&)>& run);
  // Runs a step of this window under the gate, and the close asked for meanwhile after it.
  bool RunAsStep(const std::function<void()>& step);

  const WindowSpec& layout_;
  const WindowRegistry* registry_;
  std::unique_ptr<WindowSteps> steps_;
  // Controls may be deleted before the window; the views, which read the steps' grid and
  // list, end before the steps do (the destructor).
  std::map<std::string, QPointer<QWidget>, std::less<>> controls_;
  std::map<std::string, QPointer<QRadioButton>, std::less<>> options_;
  QPointer<QLineEdit> text1_;
  QPointer<GridView> grid_;
  QPointer<ListBoxView> list1_;
  bool stepRunning_ = false;
  bool closeAsked_ = false;
};

}  // namespace meridax
