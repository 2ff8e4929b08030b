#include "datafetch/qt/main_window_widget.h"

#include "platform/jvlink/qt/settings_dialog.h"

namespace meridax::datafetch {

jvlink::FolderJVLinkOptions MainWindowWidget::WithDialog(jvlink::FolderJVLinkOptions options,
                                                         QWidget* parent) {
  if (!options.dialog) options.dialog = jvlink::QtSettingsDialog(parent);
  return options;
}

MainWindowWidget::MainWindowWidget(jvlink::FolderJVLinkOptions options)
    : command1_(new QPushButton(QString::fromUtf8("設定"), this)),
      command2_(new QPushButton(QString::fromUtf8("2024年1月1日セットアップ"), this)),
      command3_(new QPushButton(QString::fromUtf8("HSチェック"), this)),
      text1_(new QLineEdit(this)),
      host_(this, text1_),
      jvlink1_(WithDialog(std::move(options), this)),
      progress_(this),
      steps_(jvlink1_, progress_) {
  setWindowTitle(QString::fromUtf8("KOVF1C：メイン"));
  setObjectName("KOVF1SETUP19Z1");
  setFixedSize(TwipsRect(0, 0, 5400, 3600).size());
  command1_->setObjectName("Command1");
  command1_->setGeometry(TwipsRect(360, 360, 4680, 480));
  command2_->setObjectName("Command2");
  command2_->setGeometry(TwipsRect(360, 960, 4680, 480));
  command3_->setObjectName("Command3");
  command3_->setGeometry(TwipsRect(360, 1560, 4680, 480));
  text1_->setObjectName("Text1");
  text1_->setGeometry(TwipsRect(360, 2400, 4680, 420));

  connect(command1_, &QPushButton::clicked, this,
          [this] { StepGate::Run([this] { steps_.Command1_Click(host_); }); });
  connect(command2_, &QPushButton::clicked, this,
          [this] { StepGate::Run([this] { steps_.Command2_Click(host_); }); });
  connect(command3_, &QPushButton::clicked, this,
          [this] { StepGate::Run([this] { steps_.Command3_Click(host_); }); });
}

}  // namespace meridax::datafetch
