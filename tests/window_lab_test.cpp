// The laboratory commands of the main window: the experiments as presets, the resonance
// curve window, the saved pictures and numbers, and the documents' failure messages.
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTemporaryDir>
#include <QThread>
#include <bit>
#include <cstring>
#include <sstream>

#include "analysis/sweep.h"
#include "model/number_format.h"
#include "platform/qt_platform.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/resonance_png.h"
#include "tools/trace.h"
#include "window/laboratory.h"
#include "window/curve_window.h"
#include "window/experiments.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window/portrait_window.h"
#include "window/results.h"
#include "window_fixture.h"

namespace {

using Kind = sp::RecordingPlatform::Kind;

std::string tool(std::vector<std::string> args)
{
    std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out, err;
    sp::trace::run(views, out, err);
    return out.str();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LabTest : public WindowTest {
protected:
    void SetUp() override
    {
        // Never the user's settings: the remembered folder goes to a folder of the test's.
        ASSERT_TRUE(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        WindowTest::SetUp();
        QObject::connect(form.get(), &sp::Form1::stepDrawn, [this] {
            ++steps;
            if (during)
                during(steps);
        });
    }
    QAction* action(const QString& name) const
    {
        auto* a = form->findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name.toStdString();
        return a;
    }
    QString fieldOf(sp::ParamId id) const
    {
        static const char* names[] = {"Text1", "Text4", "Text7", "Text8", "Text2",
                                      "Text3", "Text5", "Text6", "Text9"};
        return text(names[static_cast<int>(id)])->text();
    }
    void startRun() { child<QPushButton>("CmdOK")->click(); }

    QTemporaryDir settingsDir;
    QTemporaryDir out;
    int steps = 0;
    std::function<void(int)> during;
};

// --- the experiments table and the presets ---

TEST(ExperimentTable, TheBuiltInTableIsTheGuidesTable)
{
    QFile file(QStringLiteral(SP_DOCS_SOURCE_DIR "/experiments.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const sp::ExperimentTable source = sp::read_experiments(QString::fromUtf8(file.readAll()));
    const sp::ExperimentTable& built = sp::builtin_experiments();
    EXPECT_TRUE(built.problems.isEmpty()) << built.problems.join(u'\n').toStdString();
    ASSERT_FALSE(built.rows.empty());
    ASSERT_EQ(built.rows.size(), source.rows.size());
    for (std::size_t i = 0; i < built.rows.size(); ++i) {
        EXPECT_EQ(built.rows[i].title, source.rows[i].title);
        EXPECT_EQ(built.rows[i].texts, source.rows[i].texts);
        EXPECT_TRUE(built.rows[i].title.startsWith(QStringLiteral("Опыт "))) << i;
    }
}

TEST_F(LabTest, TheExperimentsMenuStandsBetweenFileAndHelp)
{
    QStringList titles;
    for (QAction* a : form->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&Файл", "&Опыты", "&Помощь"}));
    auto* menu = form->findChild<QMenu*>(QStringLiteral("mnuExperiments"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            items << a->text();
    QStringList expected;
    for (const sp::Experiment& e : sp::builtin_experiments().rows)
        expected << e.title;
    expected << QStringLiteral("Исходные значения") << QStringLiteral("Резонансная кривая…")
             << QStringLiteral("Фазовый портрет");
    EXPECT_EQ(items, expected);
}

TEST_F(LabTest, EachPresetWritesItsNormalisedValuesGraphsAndZoomsWithOneRedraw)
{
    for (const sp::Experiment& e : sp::builtin_experiments().rows) {
        layouts = 0;
        action(QStringLiteral("mnuExperiment_") + e.key)->trigger();
        for (const sp::ParamId id : sp::kFieldOrder) {
            const QString typed = e.texts[static_cast<int>(id)];
            const std::string expected =
                sp::format_field(sp::read_number(typed.toStdString()), sp::field_decimals(id));
            EXPECT_EQ(fieldOf(id).toStdString(), expected) << e.key.toStdString();
        }
        EXPECT_EQ(child<QRadioButton>("Option2")->isChecked(), e.time_graphs);
        EXPECT_EQ(child<QWidget>("Picture3")->isVisible(), e.time_graphs);
        EXPECT_EQ(child<QScrollBar>("VScroll1")->value(), e.zoom_xt);
        EXPECT_EQ(child<QScrollBar>("VScroll2")->value(), e.zoom_yt);
        EXPECT_LE(layouts, 1) << e.key.toStdString();
    }
    EXPECT_EQ(platform.count(Kind::Message), 0U);

    // After a preset of another DYg, the start-up values come back as values, not as the
    // texts the fields show: DYg = 1/3, not 0.33333333, so the run is a fresh start's.
    action(QStringLiteral("mnuExperiment_2"))->trigger();
    action(QStringLiteral("mnuExperiment_1"))->trigger();
    EXPECT_EQ(form->settings().params.DYg, sp::defaults().params.DYg);
    action(QStringLiteral("mnuExperiment_2"))->trigger();
    action(QStringLiteral("mnuExperimentsStart"))->trigger();
    const sp::Settings start = sp::defaults();
    for (const sp::ParamId id : sp::kFieldOrder) {
        EXPECT_EQ(fieldOf(id).toStdString(),
                  sp::format_field(sp::value_of(start.params, id), sp::field_decimals(id)));
        EXPECT_EQ(sp::value_of(form->settings().params, id), sp::value_of(start.params, id));
    }
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(child<QScrollBar>("VScroll1")->value(), 1);
}

TEST_F(LabTest, APresetValueTheFieldRejectsWarnsAsTypingItWould)
{
    const sp::ExperimentTable t = sp::read_experiments(
        QStringLiteral("key\ttitle\talpha\tTmax\nbad\tОпыт 0. Плохой\t-1\t2\n"));
    ASSERT_EQ(t.rows.size(), 1U);
    form->lab()->applyExperiment(t.rows[0]);
    EXPECT_EQ(platform.count(Kind::Tone), 1U);
    ASSERT_EQ(platform.count(Kind::Message), 1U);
    EXPECT_EQ(platform.calls_of(Kind::Message)[0].title, "Ошибка");
    EXPECT_EQ(fieldOf(sp::ParamId::alpha).toStdString(),
              sp::format_field(sp::check_entry(sp::ParamId::alpha, -1)->replacement, 8));
    EXPECT_EQ(fieldOf(sp::ParamId::Tmax), "2.0");
    EXPECT_EQ(layouts, 1);
}

TEST_F(LabTest, PresetsAreLockedDuringARunAndTheCurveIsNotClickedIntoIt)
{
    type(text("Text9"), "0.1");
    bool checked = false;
    during = [&](int step) {
        if (step != 2)
            return;
        checked = true;
        EXPECT_FALSE(action(QStringLiteral("mnuExperimentsStart"))->isEnabled());
        EXPECT_TRUE(action(QStringLiteral("mnuExperimentsCurve"))->isEnabled());
        const QString beta = fieldOf(sp::ParamId::beta);
        EXPECT_FALSE(form->lab()->chooseBeta(0.75));
        EXPECT_EQ(fieldOf(sp::ParamId::beta), beta);
    };
    startRun();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(action(QStringLiteral("mnuExperimentsStart"))->isEnabled());
}

// --- the resonance curve ---

class CurveTest : public LabTest {
protected:
    sp::CurveWindow* open(const QString& from, const QString& to, const QString& n)
    {
        action(QStringLiteral("mnuExperimentsCurve"))->trigger();
        sp::CurveWindow* w = form->lab()->curveWindow();
        EXPECT_NE(w, nullptr);
        w->findChild<QLineEdit*>(QStringLiteral("curveFrom"))->setText(from);
        w->findChild<QLineEdit*>(QStringLiteral("curveTo"))->setText(to);
        w->findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(n);
        return w;
    }
    static bool sameBits(double a, double b)
    {
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    }
};

TEST_F(CurveTest, ThePointsAreTheSweepsBitForBitAndSaveAsTheToolPrints)
{
    type(text("Text9"), "20");
    type(text("Text1"), "0.05");
    sp::CurveWindow* w = open("0", "2.5", "13");
    child<QWidget>("Text9");  // the window is still there
    w->findChild<QPushButton*>(QStringLiteral("curveCalculate"))->click();
    ASSERT_TRUE(waitFor([&] { return !w->computing(); }));
    EXPECT_EQ(w->findChild<QProgressBar*>(QStringLiteral("curveProgress"))->value(), 13);
    const std::vector<sp::analysis::SweepRow> rows = w->plot()->rows();
    ASSERT_EQ(rows.size(), 13U);
    sp::Parameters p = sp::defaults().params;
    p.alpha = 0.05;
    p.Tmax = 20;
    const std::vector<sp::analysis::SweepRow> expected = sp::analysis::sweep(p, 0, 2.5, 13, 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_TRUE(sameBits(rows[k].beta, expected[k].beta)) << k;
        EXPECT_TRUE(sameBits(rows[k].Ax, expected[k].Ax)) << k;
        EXPECT_TRUE(sameBits(rows[k].Ay, expected[k].Ay)) << k;
        EXPECT_TRUE(sameBits(rows[k].Ax_linear, expected[k].Ax_linear)) << k;
        EXPECT_EQ(rows[k].steps, expected[k].steps) << k;
    }
    EXPECT_TRUE(w->plot()->describe(4).startsWith(QStringLiteral("β = ")));

    // At the tool's size the window's picture is the one the tool writes.
    sp::CurvePlot printed;
    printed.resize(sp::kLabPlotWidth, sp::kLabPlotHeight);
    printed.start(p, 0, 2.5, 13);
    for (std::size_t k = 0; k < rows.size(); ++k)
        printed.setPoint(static_cast<int>(k), rows[k]);
    printed.redraw();
    EXPECT_EQ(sp::qimage_view(printed.picture().image()), sp::trace::resonance_picture(p, expected));

    const QString csv = QDir(out.path()).filePath(QStringLiteral("curve.CSV"));
    const QString png = QDir(out.path()).filePath(QStringLiteral("curve.png"));
    platform.chosen_paths = {csv, png};
    w->save();
    w->save();
    EXPECT_EQ(fileBytes(csv).toStdString(),
              tool({"--alpha=0.05", "--Tmax=20", "--sweep=0:2.5:13", "--threads=2"}));
    EXPECT_TRUE(fileBytes(png).startsWith("\x89PNG"));
    EXPECT_EQ(platform.count(Kind::Message), 0U);

    // Clicking a point hands its β to the main window's field, through the entry.
    const QPointF at = *w->plot()->position(4);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->plot()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->plot(), &press);
    EXPECT_EQ(fieldOf(sp::ParamId::beta).toStdString(), sp::format_field(expected[4].beta, 8));
}

TEST_F(CurveTest, BadRangesAndTextsThatAreNoNumbersAreRefusedNamingTheField)
{
    for (const auto& [from, to, n, named] :
         {std::tuple{"2", "1", "10", ""}, {"0", "2.5", "1", ""}, {"-1", "2", "10", ""},
          {"0", "1e300", "10", ""}, {"0", "1", "1e9", ""}, {"abc", "1", "10", "«β от»"},
          {"0", "2,5", "10", "«до»"}, {"nan", "1", "10", "«β от»"}, {"0", "inf", "10", "«до»"},
          {"0", "1", "2.5", "«точек»"}, {"0", "1", "", "«точек»"}, {"0", "1e999", "10", ""}}) {
        sp::CurveWindow* w = open(from, to, n);
        w->cancel();
        platform.clear();
        w->calculate();
        EXPECT_FALSE(w->computing()) << from << " " << to << " " << n;
        ASSERT_EQ(platform.count(Kind::Message), 1U);
        EXPECT_TRUE(platform.calls_of(Kind::Message)[0].text.contains(QString::fromUtf8(named)))
            << platform.calls_of(Kind::Message)[0].text.toStdString();
    }
    // Read as the main window's fields read: blanks anywhere, D for the exponent.
    sp::CurveWindow* w = open(" 0", "2 .5", "1D1");
    platform.clear();
    w->calculate();
    EXPECT_TRUE(w->computing());
    EXPECT_EQ(w->plot()->points(), 10);
    EXPECT_EQ(platform.count(Kind::Message), 0U);
}

// A curve says when it no longer belongs to the main window's parameters, and when it was
// not computed whole; it is saved then only on a question that says so, and its picture
// says for which parameters it was computed.
TEST_F(CurveTest, AStaleOrCancelledCurveIsMarkedAndSavedOnlyKnowingly)
{
    type(text("Text9"), "20");
    sp::CurveWindow* w = open("0", "2.5", "6");
    w->calculate();
    ASSERT_TRUE(waitFor([&] { return !w->computing(); }));
    auto* note = w->findChild<QLabel*>(QStringLiteral("curveNote"));
    EXPECT_FALSE(w->stale());
    EXPECT_TRUE(note->isHidden());
    EXPECT_TRUE(form->lab()->chooseBeta(0.5));  // the curve's own variable
    EXPECT_FALSE(w->stale());
    type(text("Text1"), "0.2");
    EXPECT_TRUE(w->stale());
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(note->text().contains(QStringLiteral("α = 0.001")));
    type(text("Text1"), "0.001");
    EXPECT_FALSE(w->stale());
    action(QStringLiteral("mnuExperiment_") + sp::builtin_experiments().rows.back().key)->trigger();
    EXPECT_TRUE(w->stale());

    const QString png = QDir(out.path()).filePath(QStringLiteral("stale.png"));
    platform.chosen_paths = {png};
    platform.answers = {sp::Answer::No};
    w->save();
    ASSERT_EQ(platform.count(Kind::Ask), 1U);
    EXPECT_TRUE(platform.calls_of(Kind::Ask)[0].text.contains(QStringLiteral("Tmax = 20")));
    EXPECT_FALSE(QFile::exists(png));
    platform.answers = {sp::Answer::Yes};
    w->save();
    const QImage saved(png);
    EXPECT_GT(saved.height(), 2 * w->plot()->height());  // the line saying what it is

    // A new «Расчёт» clears the old read-out; a cancelled one is partial.
    w->findChild<QLabel*>(QStringLiteral("curveHover"))->setText(QStringLiteral("β = 1"));
    type(text("Text9"), "30000");
    w->calculate();
    EXPECT_FALSE(w->stale());
    EXPECT_TRUE(w->findChild<QLabel*>(QStringLiteral("curveHover"))->text().isEmpty());
    w->findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(QStringLiteral("40"));
    w->calculate();
    ASSERT_TRUE(waitFor([&] { return w->plot()->done() > 0; }));
    w->cancel();
    ASSERT_LT(w->plot()->done(), 40);
    EXPECT_TRUE(note->text().contains(QStringLiteral("прерван")));
    platform.clear();
    const QString csv = QDir(out.path()).filePath(QStringLiteral("partial.csv"));
    platform.chosen_paths = {csv};
    platform.answers = {sp::Answer::No};
    w->save();
    ASSERT_EQ(platform.count(Kind::Ask), 1U);
    EXPECT_TRUE(platform.calls_of(Kind::Ask)[0].text.contains(QStringLiteral("прерван")));
    EXPECT_FALSE(QFile::exists(csv));
}

TEST_F(CurveTest, ARunAndTheCurveGoTogetherAndTheProgramMayEndUnderBoth)
{
    type(text("Text9"), "3000");
    sp::CurveWindow* w = open("0", "2.5", "30");
    w->calculate();
    type(text("Text9"), "0.3");
    int seen = 0;
    during = [&](int) { seen = w->plot()->done(); };
    startRun();  // the curve goes on computing while the run draws
    EXPECT_GT(steps, 0);
    EXPECT_TRUE(w->computing());
    // A new computation replaces the running one; the program then ends under it.
    w->calculate();
    platform.answers = {sp::Answer::Yes};
    form->close();
    EXPECT_EQ(form->ended, 1);
    EXPECT_FALSE(w->computing());
    form.reset();  // destroys the window with its computations
    ASSERT_TRUE(waitFor([] { return sp::CurveComputation::runsInProgress() == 0; }, 5000));
    (void)seen;
}

// --- results kept ---

TEST_F(LabTest, TheSavedRunIsTheToolsCsvWhetherFinishedOrInProgress)
{
    platform.chosen_paths = {QDir(out.path()).filePath(QStringLiteral("none.csv"))};
    form->lab()->saveRun();
    EXPECT_EQ(platform.count(Kind::Message), 1U);  // no run yet: nothing to save
    EXPECT_EQ(platform.count(Kind::ChooseFile), 0U);

    type(text("Text9"), "0.5");
    type(text("Text4"), "0.7");
    const QString partial = QDir(out.path()).filePath(QStringLiteral("partial.csv"));
    during = [&](int step) {
        if (step == 7) {
            platform.chosen_paths = {partial};
            form->lab()->saveRun();
        }
    };
    startRun();
    const QString whole = QDir(out.path()).filePath(QStringLiteral("whole.csv"));
    platform.chosen_paths = {whole};
    form->lab()->saveRun();
    // Later edits do not change the run that was shown.
    type(text("Text4"), "1.5");
    const QString again = QDir(out.path()).filePath(QStringLiteral("again.csv"));
    platform.chosen_paths = {again};
    form->lab()->saveRun();

    const std::string expected = tool({"--Tmax=0.5", "--beta=0.7"});
    EXPECT_EQ(fileBytes(whole).toStdString(), expected);
    EXPECT_EQ(fileBytes(again).toStdString(), expected);
    // Header, the start and the seven steps drawn when it was saved.
    std::string first;
    std::istringstream lines(expected);
    for (std::string line; first.size() < expected.size() && std::getline(lines, line);) {
        first += line + '\n';
        if (std::count(first.begin(), first.end(), '\n') == 9)
            break;
    }
    EXPECT_EQ(fileBytes(partial).toStdString(), first);
    // The folder is remembered and offered next time.
    EXPECT_EQ(platform.offered_starts.back(), QDir(out.path()).filePath(QStringLiteral("run.csv")));
}

TEST_F(LabTest, AFileThatCannotBeWrittenLeavesNothingAndSaysWhichAndWhy)
{
    QFile blocker(QDir(out.path()).filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    type(text("Text9"), "0.1");
    startRun();
    const QString path = QDir(out.path()).filePath(QStringLiteral("not-a-folder/run.csv"));
    platform.chosen_paths = {path};
    form->lab()->saveRun();
    ASSERT_EQ(platform.count(Kind::Message), 1U);
    // The reason in the window's Russian, not the system's English.
    EXPECT_TRUE(platform.calls_of(Kind::Message)[0].text.endsWith(path + QStringLiteral("» не записан: папки нет")))
        << platform.calls_of(Kind::Message)[0].text.toStdString();

    // A writer that fails half-way (a full disk) leaves neither the file nor a temporary.
    const QString half = QDir(out.path()).filePath(QStringLiteral("half.csv"));
    const QString why = sp::write_whole_file(half, [](QIODevice& d) {
        d.write("step,t");
        return false;
    });
    EXPECT_EQ(why.toStdString(), "запись не удалась");
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"not-a-folder"});

    // A folder that has the file's name.
    EXPECT_EQ(sp::write_whole_file(out.path(), QByteArray("x")).toStdString(), "под этим именем уже есть папка или не файл");

    // Everything written, but the folder gone before the file could take its name.
    QTemporaryDir gone;
    const QString last = QDir(gone.path()).filePath(QStringLiteral("last.csv"));
    EXPECT_EQ(sp::write_whole_file(last, [&](QIODevice& d) {
                  d.write("step,t\n");
                  return QDir(gone.path()).removeRecursively();
              }).toStdString(),
              "папки нет");
    EXPECT_FALSE(QFile::exists(last));
}

// The computation time may change during a run; the run saved is the one computed, all of
// it, and the message says what the file holds.
TEST_F(LabTest, ARunWhoseComputationTimeChangedIsSavedAsComputedAndSaysSo)
{
    type(text("Text9"), "1.0");
    during = [&](int step) {
        if (step == 30)
            type(text("Text9"), "0.5");  // below the time already run: the run ends
    };
    startRun();
    const int computed = steps;
    const QString path = QDir(out.path()).filePath(QStringLiteral("edited.csv"));
    platform.chosen_paths = {path};
    form->lab()->saveRun();
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(bytes.count('\n'), computed + 2);  // header, the start, every step
    ASSERT_EQ(platform.count(Kind::Message), 1U);
    EXPECT_TRUE(platform.calls_of(Kind::Message)[0].text.contains(QString::number(computed)));
}

TEST_F(LabTest, TheFivePicturesAreSavedAtTwiceTheScreensResolution)
{
    type(text("Text9"), "0.3");
    startRun();
    platform.chosen_paths = {out.path()};
    form->lab()->saveFigures();
    EXPECT_EQ(platform.count(Kind::Message), 0U);
    const QStringList names = {"plane.png", "animation.png", "xt.png", "yt.png", "magnifier.png"};
    QStringList found = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(found, sorted);
    const QImage plane(QDir(out.path()).filePath("plane.png"));
    const QWidget* panel = child<QWidget>("Picture1");
    EXPECT_EQ(plane.size(), panel->size() * 2);
    // The run's steps are in the picture: red pixels where the trajectory is.
    bool red = false;
    for (int y = 0; y < plane.height() && !red; ++y)
        for (int x = 0; x < plane.width() && !red; ++x)
            red = plane.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
    // The same folder is offered next time, from the settings.
    platform.chosen_paths = {};
    form->lab()->saveFigures();
    EXPECT_EQ(platform.offered_starts.back(), out.path());
}

// A set that cannot be written whole is not written at all, and the message says, in Russian
// only, why for every file.
TEST_F(LabTest, APictureSetThatCannotBeWrittenWholeLeavesTheOldFiles)
{
    QFile old(QDir(out.path()).filePath("plane.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(QDir(out.path()).mkdir("yt.png"));
    platform.chosen_paths = {out.path()};
    form->lab()->saveFigures();
    ASSERT_EQ(platform.count(Kind::Message), 1U);
    QString said = platform.calls_of(Kind::Message)[0].text;
    for (const char* name : {"plane.png", "animation.png", "xt.png", "yt.png", "magnifier.png"}) {
        EXPECT_TRUE(said.contains(name)) << name << ": " << said.toStdString();
        said.remove(name);
    }
    said.remove(out.path());
    EXPECT_FALSE(said.contains(QRegularExpression("[A-Za-z]"))) << said.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"plane.png", "yt.png"}));
}

// --- for screen readers and the keyboard ---

TEST_F(LabTest, BarsAndTheSlowDownValueAreNamedAndEscapePutsTheAuthorsAway)
{
    for (const char* name : {"VScroll1", "VScroll2", "HScroll1", "HScroll2"})
        EXPECT_FALSE(child<QWidget>(name)->accessibleName().isEmpty()) << name;
    EXPECT_EQ(child<QWidget>("Label21")->accessibleName(), QStringLiteral("Замедление времени"));

    action(QStringLiteral("mnuHelpAvtors"))->trigger();
    auto* authors = form->findChild<QWidget*>(QStringLiteral("Form2"));
    ASSERT_NE(authors, nullptr);
    EXPECT_TRUE(authors->isWindow());
    EXPECT_EQ(authors->windowTitle(), QStringLiteral("Авторы"));
    ASSERT_TRUE(waitFor([&] { return authors->isVisible(); }));
    authors->activateWindow();
    QShortcutEvent shortcut(QKeySequence(Qt::Key_Escape), 0);
    // The offscreen platform may not make the window active; the shortcut is sent to it.
    const auto shortcuts = authors->findChildren<QShortcut*>();
    ASSERT_EQ(shortcuts.size(), 1);
    EXPECT_EQ(shortcuts[0]->key(), QKeySequence(Qt::Key_Escape));
    QCoreApplication::sendEvent(shortcuts[0], &shortcut);
    EXPECT_FALSE(authors->isVisible());
}

TEST_F(LabTest, TheLabsWindowsAreWindowsForScreenReadersAndEscapeClosesThem)
{
    action(QStringLiteral("mnuExperimentsCurve"))->trigger();
    action(QStringLiteral("mnuExperimentsPortrait"))->trigger();
    child<QPushButton>("Command1")->click();
    auto* lupa = form->magnifier();
    for (QWidget* w : {static_cast<QWidget*>(form->lab()->curveWindow()),
                       static_cast<QWidget*>(form->lab()->portrait()), static_cast<QWidget*>(lupa)}) {
        ASSERT_NE(w, nullptr);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::Window) << w->objectName().toStdString();
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
    }
    EXPECT_FALSE(lupa->panel()->accessibleName().isEmpty());
    EXPECT_FALSE(form->lab()->curveWindow()
                     ->findChild<QProgressBar*>(QStringLiteral("curveProgress"))
                     ->accessibleName()
                     .isEmpty());

    type(text("Text9"), "100000");
    sp::CurveWindow* curve = form->lab()->curveWindow();
    curve->calculate();
    for (QWidget* w : {static_cast<QWidget*>(curve), static_cast<QWidget*>(form->lab()->portrait())}) {
        ASSERT_TRUE(waitFor([&] { return w->isVisible(); }));
        const auto shortcuts = w->findChildren<QShortcut*>();
        ASSERT_EQ(shortcuts.size(), 1);
        EXPECT_EQ(shortcuts[0]->key(), QKeySequence(Qt::Key_Escape));
        QShortcutEvent escape(QKeySequence(Qt::Key_Escape), 0);
        QCoreApplication::sendEvent(shortcuts[0], &escape);
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_FALSE(curve->computing());
}

// --- documents ---

TEST(Documents, AreFoundInTheInstallationFromAnyFolder)
{
    QTemporaryDir prefix, elsewhere;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/spring-pendulum"));
    QFile doc(prefix.path() + "/share/spring-pendulum/uprav.pdf");
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.close();
    const QStringList folders =
        sp::document_folders(QDir(elsewhere.path()), QDir(prefix.path() + "/bin"));
    EXPECT_EQ(sp::find_document("uprav.pdf", folders), QFileInfo(doc).absoluteFilePath());
    EXPECT_TRUE(sp::find_document("spravka.pdf", folders).isEmpty());
    // The current folder comes first, then the program's.
    QFile here(elsewhere.path() + "/uprav.pdf");
    ASSERT_TRUE(here.open(QIODevice::WriteOnly));
    here.close();
    EXPECT_EQ(sp::find_document("uprav.pdf", folders), QFileInfo(here).absoluteFilePath());

    // The built documents beside this test's program are found from another folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const QStringList real = sp::document_folders(
        QDir::current(), QDir(QCoreApplication::applicationDirPath() + "/../bin"));
    QDir::setCurrent(before);
    EXPECT_FALSE(sp::find_document("instruction.txt", real).isEmpty());
}

TEST_F(LabTest, ADocumentThatDoesNotOpenIsNamedInAMessage)
{
    platform.opened = sp::Opened::Missing;
    action(QStringLiteral("mnuFilespravka"))->trigger();
    platform.opened = sp::Opened::NoViewer;
    action(QStringLiteral("mnuHelpUprav"))->trigger();
    platform.opened = sp::Opened::Yes;
    action(QStringLiteral("mnuHelpInstruction"))->trigger();
    const auto messages = platform.calls_of(Kind::Message);
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_TRUE(messages[0].text.contains("«spravka.pdf» не найден"));
    EXPECT_TRUE(messages[1].text.contains("«uprav.pdf» не открыт"));
}

}  // namespace
