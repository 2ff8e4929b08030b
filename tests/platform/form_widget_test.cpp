// A window built from its control table, over the small fake window.
#include "platform/qt/form_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/data_folder_lock.h"
#include "tests/support/child_process.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::FakeSteps;
using testing::kFakeWindow;

WindowRegistry FakeRegistry() {
  WindowRegistry r;
  r.Add(kFakeWindow);
  return r;
}

FakeSteps& Steps(FormWidget& w) {
  return static_cast<FakeSteps&>(w.steps());
}

std::string Cell(const GridView& grid, int row, int col) {
  return grid.Cells().data(grid.Cells().index(row, col), Qt::DisplayRole).toString().toStdString();
}

int OpenFakeWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    n += dynamic_cast<FormWidget*>(w) && w->isVisible();
  return n;
}

TEST(FormWidgetTest, ControlsStandAtTheirBoxesAndTheLoadFillsTheModels) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  EXPECT_EQ(window.objectName().toStdString(), "FormFAKE");
  EXPECT_EQ(window.windowTitle().toStdString(), "FAKE窓");
  EXPECT_EQ(window.size(), QSize(440, 280));
  EXPECT_EQ(window.Button("Command1")->geometry(), QRect(8, 8, 80, 32));
  // Option buttons stand inside their frame, none selected.
  auto* option2 = window.findChild<QRadioButton*>("Option2");
  ASSERT_NE(option2, nullptr);
  EXPECT_EQ(option2->parentWidget()->objectName().toStdString(), "Frame1");
  EXPECT_EQ(option2->geometry(), QRect(8, 44, 100, 20));
  EXPECT_FALSE(option2->isChecked());
  EXPECT_EQ(window.Text1()->text().toStdString(), "Text1");
  EXPECT_EQ(Steps(window).loads, 1);
  EXPECT_EQ(window.List1()->Entries().rowCount(), 2);
  EXPECT_EQ(window.Grid()->Corner()->text().toStdString(), "項目 ");
  EXPECT_EQ(window.Grid()->Cells().rowCount(), 3);     // the fixed row is the header
  EXPECT_EQ(window.Grid()->Cells().columnCount(), 2);  // and so is the fixed column
}

TEST(FormWidgetTest, InputsAreCopiedInBeforeAHandlerAndModelsShownAfterIt) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  window.Text1()->setText("201901");
  window.findChild<QRadioButton*>("Option3")->setChecked(true);
  window.Button("Command1")->click();
  EXPECT_EQ(Cell(*window.Grid(), 0, 0), "201901");
  EXPECT_EQ(Cell(*window.Grid(), 0, 1), "3");
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり");
  EXPECT_EQ(window.List1()->Entries().rowCount(), 3);

  // A click on an entry selects it, then the handler reads it.
  const QModelIndex second = window.List1()->Entries().index(1, 0);
  window.List1()->setCurrentIndex(second);
  Q_EMIT window.List1()->clicked(second);
  EXPECT_EQ(Cell(*window.Grid(), 1, 0), "2016100002EX.dat");
  EXPECT_EQ(Steps(window).list.Selected(), 1);

  // The fixed column is as wide as its ColWidth, and the cells start after it.
  Steps(window).grid.SetColWidth(0, 1200);
  window.Button("Command3")->click();
  EXPECT_EQ(window.Grid()->verticalHeader()->width(), 80);
  EXPECT_EQ(window.Grid()->viewport()->geometry().left(), window.Grid()->frameWidth() + 80);
}

TEST(FormWidgetTest, AFailureIsShownInTheStatusFromItsStart) {
  testing::TempDrive drive;
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  window.Button("Command2")->click();
  const std::string status = "失敗 エラー: フォルダがありません " +
                             (drive.data() / "NOSUCH").string() + " (C:\\MERIDAXPROJECT\\NOSUCH\\)";
  EXPECT_EQ(window.Text1()->text().toStdString(), status);
  EXPECT_EQ(window.Text1()->cursorPosition(), 0);  // the start of a long status shows
  EXPECT_EQ(window.Text1()->toolTip().toStdString(), status);
}

TEST(FormWidgetTest, HoveringTheStatusShowsItWholeWhicheverWindowIsActive) {
  // Datasetup's windows stand side by side; the operator reads one's status by hovering it
  // while another is the active window.
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  FormWidget other(kFakeWindow, &registry);
  window.show();
  other.show();
  const std::string status = "失敗 エラー: フォルダがありません " + std::string(80, 'x');
  ShowStatusText(window.Text1(), status);
  for (QWidget* active : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&other)}) {
    SCOPED_TRACE(active == &window ? "hovered window active" : "another window active");
    QToolTip::hideText();
    active->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(active));
    // As the window system delivers a move: the tool tip waits for the pointer to rest.
    const QPoint over = window.Text1()->geometry().center();
    QTest::mouseMove(window.windowHandle(), over - QPoint(4, 0));
    QTest::mouseMove(window.windowHandle(), over);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text().toStdString(), status);
  }
  QToolTip::hideText();
}

TEST(FormWidgetTest, AnOpeningButtonShowsANewInstanceWithoutOwner) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  window.Button("Command9")->click();
  window.Button("Command9")->click();
  std::vector<FormWidget*> opened;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* f = dynamic_cast<FormWidget*>(w); f && f != &window && f->isVisible()) {
      opened.push_back(f);
    }
  }
  ASSERT_EQ(opened.size(), 2u);
  for (FormWidget* f : opened) {
    EXPECT_EQ(f->parentWidget(), nullptr);
    EXPECT_EQ(Steps(*f).loads, 1);  // each loaded on opening
    EXPECT_EQ(f->testAttribute(Qt::WA_DeleteOnClose), true);
    f->close();
  }
}

// A window loads before it shows: while its load waits for another program's commit, the
// window whose button opened it says so, and shows again what it showed once the load is done.
TEST(FormWidgetTest, TheWaitOfAWindowsLoadShowsInTheWindowThatOpensIt) {
  testing::TempDrive drive;
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  window.Text1()->setText("typed");  // as the operator types it
  window.Text1()->setModified(true);
  testing::ChildProcess committer([](testing::ChildProcess& self) {
    const DataFolderCommit commit;
    self.Pause();
  });
  ASSERT_TRUE(committer.WaitUntilPaused());
  std::string shownMeanwhile;
  bool loadedMeanwhile = true;
  QTimer look;  // fires while the load waits: it lets the message loop run
  QObject::connect(&look, &QTimer::timeout, [&] {
    look.stop();
    shownMeanwhile = window.Text1()->text().toStdString();
    loadedMeanwhile = OpenFakeWindows() > 1;
    committer.Go();
  });
  look.start(0);
  window.Button("Command9")->click();
  EXPECT_EQ(committer.Wait(), 0);
  EXPECT_EQ(shownMeanwhile, kWaitingForCommit);
  EXPECT_FALSE(loadedMeanwhile);
  EXPECT_EQ(OpenFakeWindows(), 2);
  EXPECT_EQ(window.Text1()->text().toStdString(), "typed");
  EXPECT_TRUE(window.Text1()->isModified());
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != &window && dynamic_cast<FormWidget*>(w) && w->isVisible()) w->close();
  }
}

// The views read the steps' grid and list up to their own end; in the sanitizer build
// (scripts/test.sh --sanitize) a view outliving them reads freed memory.
TEST(FormWidgetTest, AWindowEndsSafelyWhateverEndsFirst) {
  const WindowRegistry registry = FakeRegistry();
  const struct {
    const char* name;
    std::function<void(FormWidget&)> before;  // what happens to the shown window first
  } cases[] = {
      {"shown", [](FormWidget&) {}},
      {"the grid focused", [](FormWidget& w) { w.Grid()->setFocus(); }},
      {"the list focused", [](FormWidget& w) { w.List1()->setFocus(); }},
      {"an entry chosen",
       [](FormWidget& w) { w.List1()->setCurrentIndex(w.List1()->Entries().index(1, 0)); }},
      {"hidden", [](FormWidget& w) { w.hide(); }},
      {"controls deleted before",
       [](FormWidget& w) {
         delete w.Grid();
         delete w.List1();
         delete w.Text1();
         delete w.Control("Option2");
         w.Button("Command1")->click();  // a step still runs, shown where controls are left
         EXPECT_EQ(Steps(w).clicks, 2);
         EXPECT_EQ(w.Control("FakeFG"), nullptr);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto window = std::make_unique<FormWidget>(kFakeWindow, &registry);
    window->show();
    // A grid and a list with entries, the fixed column made wider: laid out anew on hiding.
    window->Button("Command1")->click();
    Steps(*window).grid.SetColWidth(0, 1200);
    window->Button("Command3")->click();
    c.before(*window);
    window.reset();
  }
  // Closed by the operator, deleted later by the event loop.
  QPointer<FormWidget> closed = new FormWidget(kFakeWindow, &registry);
  closed->setAttribute(Qt::WA_DeleteOnClose);
  closed->show();
  closed->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());
}

// Closes a window as its close box does: the window system's request, delivered when the
// message loop next runs.
void PressCloseBox(QWidget* window) {
  QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent);
}

// A window closed while one of its steps runs stays until the step has ended, then goes; in
// the sanitizer build a window deleted under its step reads freed memory.
TEST(FormWidgetTest, AWindowClosedWhileItsStepRunsGoesWhenTheStepHasEnded) {
  const WindowRegistry registry = FakeRegistry();
  const struct {
    const char* name;
    // Clicks a button of `window` whose step presses the window's close box and lets the
    // message loop run.
    std::function<void(FormWidget& window, const std::function<void(StepHost&)>& closing)> run;
  } cases[] = {
      {"its own step",
       [](FormWidget& window, const auto& closing) {
         Steps(window).during = closing;
         window.Button("Command3")->click();
       }},
      {"the load of the window it opens",
       [](FormWidget& window, const auto& closing) {
         FakeSteps::duringLoad = closing;
         window.Button("Command9")->click();
         FakeSteps::duringLoad = nullptr;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QPointer<FormWidget> window = new FormWidget(kFakeWindow, &registry);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    bool keptWhileRunning = false;
    bool shownWhileRunning = false;
    c.run(*window, [&](StepHost& host) {
      PressCloseBox(window);
      for (int i = 0; i < 3; ++i) host.ProcessEvents();
      keptWhileRunning = !window.isNull();
      shownWhileRunning = keptWhileRunning && window->isVisible();
    });
    EXPECT_TRUE(keptWhileRunning);
    EXPECT_TRUE(shownWhileRunning);
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
  }
  // The opened windows stay.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (dynamic_cast<FormWidget*>(w) && w->isVisible()) w->close();
  }
}

// A main window is closed as the last window of the program: the program ends, but only
// once the step has ended; meanwhile the step still asks the operator.
TEST(FormWidgetTest, TheLastWindowClosedWhileItsStepRunsEndsTheProgramAfterTheStep) {
  const WindowRegistry registry = FakeRegistry();
  for (QWidget* w : QApplication::topLevelWidgets()) ASSERT_FALSE(w->isVisible()) << w;
  FormWidget window(kFakeWindow, &registry);
  window.show();
  bool stepEnded = false;
  bool messageWaited = false;
  bool endedBeforeTheProgram = false;
  QTimer answer;
  answer.setInterval(20);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      messageWaited = true;
      box->close();
    }
  });
  Steps(window).during = [&](StepHost& host) {
    PressCloseBox(&window);
    for (int i = 0; i < 3; ++i) host.ProcessEvents();
    answer.start();
    host.ShowMessage("閉じた後");
    answer.stop();
    stepEnded = true;
  };
  const QMetaObject::Connection ending = QObject::connect(
      qApp, &QGuiApplication::lastWindowClosed, [&] { endedBeforeTheProgram = stepEnded; });
  QTimer click;
  click.setSingleShot(true);
  QObject::connect(&click, &QTimer::timeout, [&] { window.Button("Command3")->click(); });
  click.start(0);
  QTimer giveUp;  // a program that never ends fails the test instead of hanging it
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  giveUp.start(10'000);
  EXPECT_EQ(QApplication::exec(), 0);
  QObject::disconnect(ending);
  EXPECT_TRUE(stepEnded);
  EXPECT_TRUE(messageWaited);
  EXPECT_TRUE(endedBeforeTheProgram);
  EXPECT_FALSE(window.isVisible());
}

// Sends a press and release on a button as the window system would, at `time`.
void ClickAt(QPushButton* button, quint64 time) {
  const QPointF at(5, 5);
  for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    event.setTimestamp(time);
    QApplication::sendEvent(button, &event);
  }
}

TEST(FormWidgetTest, ClicksMadeWhileAStepRanAreIgnoredEvenWhenDeliveredAfterIt) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  FormWidget other(kFakeWindow, &registry);
  window.show();
  other.show();
  bool busyCursor = false;
  bool nested = true;
  Steps(window).during = [&](StepHost&) {
    busyCursor =
        QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    // A click on any step window while the step runs does not nest.
    nested = other.Click(kFakeWindow.controls[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  };
  const quint64 t0 = 5'000'000;
  ClickAt(window.Button("Command3"), t0);  // the step holds the program for 200 ms
  EXPECT_TRUE(busyCursor);
  EXPECT_FALSE(nested);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Steps(other).clicks, 0);

  // Made 100 ms into the step, delivered only now: ignored, in either window.
  ClickAt(window.Button("Command1"), t0 + 100);
  ClickAt(other.Button("Command1"), t0 + 100);
  EXPECT_EQ(Steps(window).clicks, 0);
  EXPECT_EQ(Steps(other).clicks, 0);
  // Made after the step ended: runs.
  ClickAt(window.Button("Command1"), t0 + 5000);
  EXPECT_EQ(Steps(window).clicks, 1);
}

TEST(FormWidgetTest, ClicksRunAgainOnceTheWindowSystemClockWrapsAround) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  // The clock counts milliseconds in 32 bits: a step ends just before it starts from 0 again.
  ClickAt(window.Button("Command1"), 0xFFFF'FFFFull - 100);
  EXPECT_EQ(Steps(window).clicks, 1);
  ClickAt(window.Button("Command1"), 50);
  EXPECT_EQ(Steps(window).clicks, 2);
  // Clicks made while a step ran are still told from those made after it.
  Steps(window).during = [](StepHost&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  };
  ClickAt(window.Button("Command3"), 1000);
  ClickAt(window.Button("Command1"), 1100);
  EXPECT_EQ(Steps(window).clicks, 2);
  ClickAt(window.Button("Command1"), 6000);
  EXPECT_EQ(Steps(window).clicks, 3);
}

// Clicks `control` as the window system does, through its window, at `time` of the window
// system's clock: Qt itself then tells a double click from two clicks, by the system's
// interval.
void ClickThroughWindow(QWidget* control, int time) {
  QWindow* window = control->window()->windowHandle();
  const QPointF global = control->mapToGlobal(QPointF(5, 5));
  const QPointF local = window->mapFromGlobal(global);
  qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                      QEvent::MouseButtonPress, {}, time);
  QCoreApplication::processEvents();
  qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                      QEvent::MouseButtonRelease, {}, time + 1);
  QCoreApplication::processEvents();
}

// A double click on a control runs one step, also when its step ended before the second click
// came; two clicks further apart than the system's interval run two.
TEST(FormWidgetTest, ADoubleClickRunsOneStepEvenWhenItsStepEndsBeforeTheSecondClick) {
  const WindowRegistry registry = FakeRegistry();
  const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  const struct {
    const char* name;
    std::function<QWidget*(FormWidget&)> control;
    std::function<int(FormWidget&)> steps;  // the steps the clicks ran
  } cases[] = {
      {"a button", [](FormWidget& w) { return w.Button("Command1"); },
       [](FormWidget& w) { return Steps(w).clicks; }},
      {"an entry of the list", [](FormWidget& w) { return w.List1()->viewport(); },
       [](FormWidget& w) { return Steps(w).listClicks; }},
      {"a button that opens a window", [](FormWidget& w) { return w.Button("Command9"); },
       [](FormWidget&) { return OpenFakeWindows() - 1; }},
  };
  // Far from every time other tests give events, so that the program's estimate of the
  // window system's clock starts from these.
  static int time = 0x6000'0000;
  for (const bool doubleClick : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (doubleClick ? ", a double click" : ", two clicks"));
      FormWidget window(kFakeWindow, &registry);
      window.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
      QWidget* control = c.control(window);
      time += 1'000'000;
      QElapsedTimer first;
      first.start();
      ClickThroughWindow(control, time);
      // The second click comes after the first one's step has ended.
      const int after = static_cast<int>(first.elapsed()) + 10;
      ASSERT_LT(after, interval) << "the first click's step outlasted a double click";
      ClickThroughWindow(control, time + (doubleClick ? after : interval + after));
      EXPECT_EQ(c.steps(window), doubleClick ? 1 : 2);
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &window && dynamic_cast<FormWidget*>(w) && w->isVisible()) w->close();
      }
    }
  }
  // A double click on a control whose click runs no step still reaches it: it selects the
  // word in the text box.
  FormWidget window(kFakeWindow, &registry);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  time += 1'000'000;
  ClickThroughWindow(window.Text1(), time);
  ClickThroughWindow(window.Text1(), time + 20);
  EXPECT_EQ(window.Text1()->selectedText().toStdString(), "Text1");
}

bool BusyCursor() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor && cursor->shape() == Qt::WaitCursor;
}

TEST(FormWidgetTest, AMessageWaitsForTheOperatorWithoutTheBusyCursorWhichThenReturns) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  bool busyOverMessage = true;
  bool busyAfterMessage = false;
  Steps(window).during = [&](StepHost&) {
    QTimer::singleShot(0, [&] {
      busyOverMessage = BusyCursor();
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    WidgetStepHost(&window, window.Text1()).ShowMessage("メッセージ");
    busyAfterMessage = BusyCursor();
  };
  window.Button("Command3")->click();
  EXPECT_FALSE(busyOverMessage);
  EXPECT_TRUE(busyAfterMessage);  // the step goes on
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Shows `text` as a step's message and returns what the box showed of it: the label, as
// laid out, and the box's width against the screen's.
struct ShownMessage {
  QString text;
  bool wrapped = true;
  int labelWidth = 0, labelHeight = 0;
  int widestLine = 0;    // in the label's font
  int neededHeight = 0;  // for its text at its width
  int boxWidth = 0, screenWidth = 0;
};

ShownMessage ShowAndLook(QWidget* over, const std::string& text) {
  ShownMessage shown;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box || !box->isVisible()) return;
    look.stop();
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      if (label->text().isEmpty()) continue;  // an icon's place
      shown.text = label->text();
      shown.wrapped = label->wordWrap();
      shown.labelWidth = label->contentsRect().width();
      shown.labelHeight = label->height();
      for (const QString& line : label->text().split('\n')) {
        shown.widestLine = std::max(shown.widestLine, label->fontMetrics().horizontalAdvance(line));
      }
      shown.neededHeight =
          shown.wrapped ? label->heightForWidth(label->width()) : label->sizeHint().height();
    }
    shown.boxWidth = box->frameGeometry().width();
    shown.screenWidth = box->screen()->availableGeometry().width();
    box->close();
  });
  look.start(10);
  WidgetStepHost(over, nullptr).ShowMessage(text);
  return shown;
}

TEST(FormWidgetTest, AMessageKeepsEachLineWholeWhereItFitsTheScreen) {
  const WindowRegistry registry = FakeRegistry();
  FormWidget window(kFakeWindow, &registry);
  window.show();
  // As the category window reports a load on an empty data folder: every line whole.
  const std::string report =
      "読み込みエラー: C:\\MERIDAXPROJECT\\KETTONUM20190101.dat がありません\n"
      "読み込みエラー: C:\\MERIDAXPROJECT\\OPTION1N\\QA1SibaTotalData201901N2025.dat がありません\n"
      "読み込みエラー: C:\\MERIDAXPROJECT\\OPTION1N\\QA1ShogTotalData201901N2025.dat がありません";
  const ShownMessage whole = ShowAndLook(&window, report);
  EXPECT_EQ(whole.text.toStdString(), report);
  EXPECT_FALSE(whole.wrapped);
  EXPECT_GE(whole.labelWidth, whole.widestLine);
  EXPECT_GE(whole.labelHeight, whole.neededHeight);
  EXPECT_LE(whole.boxWidth, whole.screenWidth);

  // Only a line wider than the screen is wrapped, within it.
  const std::string endless = "エラー: フォルダがありません C:\\" + std::string(400, 'X');
  const ShownMessage wrapped = ShowAndLook(&window, endless);
  EXPECT_TRUE(wrapped.wrapped);
  EXPECT_GE(wrapped.labelHeight, wrapped.neededHeight);
  EXPECT_LE(wrapped.boxWidth, wrapped.screenWidth);
  EXPECT_GT(wrapped.boxWidth, wrapped.screenWidth * 3 / 4);
}

TEST(FormWidgetTest, JapaneseTextHasAFont) {
  // Without a font covering Japanese every caption and status is drawn as boxes.
  EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
      << "no font for Japanese: scripts/setup-deps.sh installs one";
}

}  // namespace
}  // namespace meridax
