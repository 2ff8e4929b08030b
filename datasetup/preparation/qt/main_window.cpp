#include "datasetup/preparation/qt/main_window.h"

#include "datasetup/preparation/main_window_buttons.h"
#include "datasetup/preparation/qt/window_stand_ins.h"

namespace meridax {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Rect(const TwipsBox& b) {
  return TwipsRect(b.left, b.top, b.width, b.height);
}

}  // namespace

FormMERIDAXPROJECTSETUP2025ZZ::FormMERIDAXPROJECTSETUP2025ZZ()
    : text1_(new QLineEdit(this)), host_(this, text1_) {
  setObjectName(Utf8(kMainWindowClass));
  setWindowTitle(Utf8(kMainWindowCaption));
  setFixedSize(TwipsToPixels(kMainWindowWidth), TwipsToPixels(kMainWindowHeight));
  text1_->setObjectName("Text1");
  text1_->setGeometry(Rect(kText1Box));

  for (const MainWindowButton& b : kMainWindowButtons) {
    auto* button = new QPushButton(Utf8(b.caption), this);
    button->setObjectName(Utf8(b.control));
    button->setGeometry(Rect(b.box));
    if (b.step) {
      // A click while any step of the program runs is ignored, not nested.
      connect(button, &QPushButton::clicked, this,
              [this, step = b.step] { StepGate::Run([&] { (steps_.*step)(host_); }); });
    } else if (b.control == "Command9") {
      connect(button, &QPushButton::clicked, this, [this] { Command9_Click(); });
    } else if (b.control == "Command10") {
      connect(button, &QPushButton::clicked, this, [this] { Command10_Click(); });
    }
  }
}

QPushButton* FormMERIDAXPROJECTSETUP2025ZZ::Button(std::string_view control) const {
  return findChild<QPushButton*>(Utf8(control), Qt::FindDirectChildrenOnly);
}

// A new window on every click, shown modeless and without owner; it lives until closed.
// Opening one runs its load step, so it waits like a step while another step runs.
void FormMERIDAXPROJECTSETUP2025ZZ::Command9_Click() {
  StepGate::Run([] {
    auto* window = new FormMERIDAXEXPDSETUP2025ZZ;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  });
}

void FormMERIDAXPROJECTSETUP2025ZZ::Command10_Click() {
  StepGate::Run([] {
    auto* window = new FormCATEGORYSETUP2025ZP;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  });
}

}  // namespace meridax
