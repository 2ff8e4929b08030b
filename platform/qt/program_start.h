#pragma once

#include <QApplication>
#include <QTranslator>

namespace meridax {

// Japanese for the few of Qt's texts its Japanese catalogue lacks (the folder browser's
// type column: "Folder").
class MissingQtTexts : public QTranslator {
 public:
  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
  bool isEmpty() const override { return false; }
};

// The start of a program with windows, shared by both programs and the widget tests: the
// environment Qt expects, then the application with Qt's own dialogs and standard buttons
// in Japanese, as the windows are, whatever language the system is set to.
class QtProgram {
 public:
  QtProgram(int& argc, char** argv);
  QtProgram(const QtProgram&) = delete;
  QtProgram& operator=(const QtProgram&) = delete;

  QApplication& app() { return app_; }

 private:
  // Runs before the application is made.
  struct Environment {
    Environment();
  };

  Environment environment_;
  QApplication app_;
  QTranslator catalogue_;
  MissingQtTexts missing_;
};

// Loads the Japanese translations of Qt's own texts ("キャンセル", the folder browser's
// labels) from Qt's translations folder into `catalogue` and installs it, with `missing`
// over it; false when the catalogue is not installed (scripts/setup-deps.sh installs it).
bool InstallJapaneseQtTexts(QTranslator& catalogue, MissingQtTexts& missing);

// Qt warns on every start where the session has no runtime folder (a console login, a
// container, CI), then uses <temp>/runtime-<user>. Naming such a folder ourselves, private
// to this user as Qt requires, spares the warning. Where another user has that name first,
// a private folder of an unforeseeable name serves instead, for as long as the program runs.
void EnsureRuntimeFolder();

// A commit that an ended process left half done is finished before a window reads the data
// folder; a failure is shown and the program opens all the same (the steps try again and
// report what still fails).
void FinishInterruptedCommitsAtStart();

}  // namespace meridax
