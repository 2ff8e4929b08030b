#include "datafetch/qt/main_window_widget.h"

#include "platform/jvlink/qt/settings_dialog.h"
#include "platform/qt/widget_host.h"

namespace meridax::datafetch {

std::unique_ptr<WindowSteps> MainWindowWidget::NewSteps(jvlink::FolderJVLinkOptions options,
                                                        MainWindowWidget* window) {
  // The dialog opens over the window, once it is built.
  if (!options.dialog) {
    options.dialog = [window](const std::string& current) {
      return jvlink::ShowSettingsDialog(window, current);
    };
  }
  if (!options.notice) {
    options.notice = [window](std::string_view text) {
      WidgetStepHost(window, nullptr).ShowMessage(text);
    };
  }
  // The progress window is set when the widget exists (below); none is shown before.
  return std::make_unique<MainWindow>(std::make_unique<jvlink::FolderJVLink>(std::move(options)),
                                      nullptr);
}

MainWindowWidget::MainWindowWidget(jvlink::FolderJVLinkOptions options)
    : FormWidget(kMainWindow, NewSteps(std::move(options), this), nullptr) {
  Steps().SetProgressShower(std::make_unique<QtProgressShower>(this));
}

}  // namespace meridax::datafetch
