#include "platform/jvlink/qt/settings_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drive.h"
#include "platform/qt/widget_host.h"

namespace meridax::jvlink {

std::string FolderSetting(const std::filesystem::path& hostFolder) {
  return WindowsPath(hostFolder, true).value_or(hostFolder.lexically_normal().string());
}

std::optional<std::string> ShowSettingsDialog(QWidget* parent, const std::string& current) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromUtf8("サービスフォルダの設定"));
  auto* edit = new QLineEdit(QString::fromStdString(current), &dialog);
  edit->setObjectName("serviceFolder");
  edit->setMinimumWidth(360);
  auto* browse = new QPushButton(QString::fromUtf8("参照..."), &dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, edit] {
    const auto start = ServiceFolderPath(edit->text().toStdString());
    QFileDialog browser(&dialog, QString(),
                        QString::fromStdString((start.empty() ? DriveRoot() : start).string()));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    // Names only: the details view dates its entries in the system's language.
    browser.setViewMode(QFileDialog::List);
    if (ExecAwaitingOperator(browser) == QDialog::Accepted && !browser.selectedFiles().isEmpty()) {
      edit->setText(
          QString::fromStdString(FolderSetting(browser.selectedFiles().front().toStdString())));
    }
  });

  auto* row = new QHBoxLayout;
  row->addWidget(edit);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QString::fromUtf8("サービスフォルダ:"), &dialog));
  layout->addLayout(row);
  layout->addWidget(buttons);

  if (ExecAwaitingOperator(dialog) != QDialog::Accepted) return std::nullopt;
  return edit->text().toStdString();
}

SettingsDialog QtSettingsDialog(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const std::string& current) { return ShowSettingsDialog(owner, current); };
}

}  // namespace meridax::jvlink
