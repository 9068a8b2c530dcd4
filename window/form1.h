#pragma once
// The main window: the parameter block, the characteristics, the four picture panels,
// the scale and slow-down bars, the graph choice, the magnifier and start buttons, and
// the menus. It owns the program's state; the computing is done by the model's pure
// functions, the pictures by the drawing procedures.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <optional>

#include "drawing/pictures.h"
#include "geometry/layout.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/parameters.h"
#include "simulation/run_loop.h"

class QGroupBox;
class QLabel;
class QMenu;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace sp {

struct Experiment;
class Form2;
class Form3;
class Laboratory;
class Panel;
class Platform;

class Form1 : public QMainWindow, private RunHost {
    Q_OBJECT

public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Lays the window out for its client size and redraws every picture empty with fresh
    // axes. Inert until start-up has finished, and while the window is minimised.
    void Form_Resize();
    void show_graphs();

    const Settings& settings() const override { return settings_; }
    const Characteristics& characteristics() const override { return chars_; }
    const Extents& extents() const { return extents_; }
    const Marks& marks() const override { return marks_; }
    std::int16_t zagruzka() const { return zagruzka_; }
    QSize clientSize() const;
    // The magnifier exists, hidden, from the first layout on.
    Form3* magnifier() const { return form3_; }

    // A run is in progress, also while it is stopping.
    bool runActive() const { return runActive_; }

    // The experiments, the curve, the portrait and the saving, beside this window.
    Laboratory* lab() const { return lab_; }

    // What the laboratory asks of the window. A preset's texts go into the fields as if
    // typed, each through its own entry handling, with its graph choice and zooms; the
    // pictures are laid out and redrawn once, at the end.
    void enterPreset(const Experiment& e);
    // Writes β into its field as if typed; refused (false) while the fields are locked.
    bool enterBeta(double beta);
    // The logical sizes of the five pictures (the magnifier made if need be), the steps
    // drawn on them since they were last cleared.
    std::array<SizeI, 5> pictureSizes();
    std::int64_t drawnSteps() const { return drawnSteps_; }
    const CopyRects& copyRects() const override { return blt_; }
    // The run shown, the current one or the last: its parameters as it began, the steps
    // it has taken and the time of the last.
    struct ShownRun {
        Parameters params;
        std::int64_t steps;
        float last_t;
    };
    std::optional<ShownRun> shownRun() const;

signals:
    // After every complete re-layout; lets observers (and tests) follow the redraws.
    void laidOut();
    // After every drawn step of a run.
    void stepDrawn();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Ends the program once every window is closed. Tests replace it to stay alive.
    virtual void endProgram();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createParameterBlock();
    void createCharacteristicsBlock();
    void createPanels();
    void createBottomRow();
    void createActions();
    void createMenus();
    void setTabOrderChain();
    void fitHeadings();
    void fitFieldText(QLineEdit* edit);

    void Form_Load();
    void defaults();
    void parametr();
    void layout();
    void ensureMagnifier();
    void redrawPictures();
    void syncPanels();

    // Text1_Change … Text9_Change are this one handler, told which parameter it edits.
    void fieldChanged(ParamId id);
    void beep(double n) override;

    void HScroll1_Change(int value);
    void HScroll2_Change(int value);
    void VScroll1_Change(int value);
    void VScroll2_Change(int value);
    void Command1_Click();
    void CmdOK_Click();
    void lockForRun(bool locked);
    void setRunningLook(bool running);

    // What the run loop asks of the window.
    bool runCaptionIsStop() const override;
    bool quitting() const override { return closing_; }
    Pictures pictures() override;
    void drawPhase(const RunState& before, const RunState& after) override;
    void showDrawn() override;
    void Wait(double seconds) override;
    void endOfRun() override;

    void mnuFilespravka_Click();
    void mnuFilespravka2_Click();
    void mnuHelpInstruction_Click();
    void mnuHelpUprav_Click();
    void mnuHelpAvtors_Click();
    void mnuHelpAbout_Click();
    void nameForAssistiveTechnology();
    void openDocument(const QString& name, bool text);

    QLineEdit* field(ParamId id) const { return fields_[static_cast<std::size_t>(id)]; }
    // A field the user is not editing shows its text from the first character, where the sign
    // and the integer digits are; QLineEdit itself keeps its cursor in view, which after
    // typing or pasting is the end of the text.
    static bool beingEdited(const QLineEdit* edit);
    static void showStart(QLineEdit* edit);
    void fieldFocusEvent(QLineEdit* edit, const QEvent* event);

    Platform& platform_;
    Settings settings_ = sp::defaults();
    Characteristics chars_;
    Extents extents_;
    Geometry geometry_;
    CopyRects blt_;
    Marks marks_;
    std::int16_t zagruzka_ = 0;
    bool closing_ = false;
    bool runActive_ = false;

    QWidget* client_ = nullptr;
    std::array<QLineEdit*, 9> fields_{};  // indexed by ParamId
    std::array<QLabel*, 9> fieldLabels_{};
    std::array<QLabel*, 6> valueLabels_{};
    QLabel* Label10_ = nullptr;
    QLabel* Label11_ = nullptr;
    QLabel* Label21_ = nullptr;
    std::array<Panel*, 4> pictures_{};  // Picture1 … Picture4
    QScrollBar* VScroll1_ = nullptr;
    QScrollBar* VScroll2_ = nullptr;
    QScrollBar* HScroll1_ = nullptr;
    QScrollBar* HScroll2_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* CmdOK_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QRadioButton* Option2_ = nullptr;
    QTimer* Timer1_ = nullptr;

    QAction* mnuFilespravka_ = nullptr;
    QAction* mnuFilespravka2_ = nullptr;
    QAction* mnuHelpInstruction_ = nullptr;
    QAction* mnuHelpUprav_ = nullptr;
    QAction* mnuHelpAvtors_ = nullptr;
    QAction* mnuHelpAbout_ = nullptr;

    // A batch of field entries lays out and redraws once, at its end.
    bool layoutsDeferred_ = false;
    bool layoutPending_ = false;
    // Steps drawn on the pictures since they were last cleared, and the run they belong to.
    std::int64_t drawnSteps_ = 0;
    Parameters runParams_{};
    std::int64_t runSteps_ = -1;  // -1: no run yet
    float runLastT_ = 0;          // the time of its last step

    Form2* form2_ = nullptr;
    Form3* form3_ = nullptr;
    Laboratory* lab_ = nullptr;
};

}  // namespace sp
