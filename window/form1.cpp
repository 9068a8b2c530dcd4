#include "window/form1.h"

#include <QApplication>
#include <QGroupBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QMenuBar>

#include "model/number_format.h"
#include "window/curve_window.h"
#include "window/fonts.h"
#include "window/form2.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window/portrait_window.h"
#include "window/placement.h"
#include "window/texts.h"
#include "window/artwork.h"
#include "window/field_table.h"
#include "platform/platform.h"

namespace sp {

namespace {

constexpr QSize kInitialClient(560, 484);

void place(QWidget* widget, const Rect& r)
{
    const PixelRect p = whole_pixels(r);
    widget->setGeometry(p.left, p.top, p.width, p.height);
}

// The label and field rectangles of each parameter row, in the order of kFieldRows.
struct RowRects {
    Rect Geometry::*label;
    Rect Geometry::*field;
};
constexpr std::array<RowRects, 9> kRowRects = {{
    {&Geometry::Label1, &Geometry::Text1}, {&Geometry::Label4, &Geometry::Text4},
    {&Geometry::Label7, &Geometry::Text7}, {&Geometry::Label8, &Geometry::Text8},
    {&Geometry::Label2, &Geometry::Text2}, {&Geometry::Label3, &Geometry::Text3},
    {&Geometry::Label5, &Geometry::Text5}, {&Geometry::Label6, &Geometry::Text6},
    {&Geometry::Label9, &Geometry::Text9},
}};
constexpr std::array<Rect Geometry::*, 6> kValueRects = {
    &Geometry::Label12, &Geometry::Label13, &Geometry::Label14,
    &Geometry::Label15, &Geometry::Label16, &Geometry::Label17};

}  // namespace

Form1::Form1(Platform& platform, QWidget* parent) : QMainWindow(parent), platform_(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::kMainCaption);
    setWindowIcon(program_icon());
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    createControls();
    nameForAssistiveTechnology();
    createActions();
    createMenus();
    resize(kInitialClient.width(), kInitialClient.height() + menuBar()->sizeHint().height());
    client_->installEventFilter(this);
    // A move to a screen of another device pixel ratio redraws every picture at it.
    for (Panel* panel : pictures_)
        connect(panel, &Panel::ratioChanged, this, &Form1::Form_Resize, Qt::QueuedConnection);
    Form_Load();
}

Form1::~Form1() = default;

QSize Form1::clientSize() const
{
    return client_->size();
}

// Start-up: place the window, set and show the start values, then arm the handlers. The
// first layout and drawing follow with the first size notification.
void Form1::Form_Load()
{
    zagruzka_ = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(main_window_position(screen->geometry().size(), frameGeometry().size()));
    defaults();
    parametr();
    zagruzka_ = 1;
}

void Form1::defaults()
{
    settings_ = sp::defaults();
    for (const ParamId id : kFieldOrder) {
        field(id)->setText(QString::fromStdString(
            format_field(value_of(settings_.params, id), field_decimals(id))));
        showStart(field(id));
    }
    Label21_->setText(QString::number(settings_.scales.slowdown));
}

void Form1::parametr()
{
    chars_ = characteristics_of(settings_.params);
    const auto captions = texts::characteristic_captions(chars_, fonts::decimal_point());
    for (std::size_t i = 0; i < valueLabels_.size(); ++i)
        valueLabels_[i]->setText(kValueLabels[i].greek ? fonts::greek_text(captions[i])
                                                       : captions[i]);
}

void Form1::Form_Resize()
{
    if (zagruzka_ == 0)
        return;
    if (layoutsDeferred_) {
        layoutPending_ = true;
        return;
    }
    // A minimised window reports no usable client area; it is laid out when restored.
    if (isMinimized() || client_->width() <= 0 || client_->height() <= 0)
        return;
    layout();
    parametr();
    ensureMagnifier();
    redrawPictures();
    emit laidOut();
}

void Form1::layout()
{
    geometry_ = sp::layout(client_->width(), client_->height());
    const Geometry& g = geometry_;
    place(Label10_, g.Label10);
    for (std::size_t i = 0; i < kFieldRows.size(); ++i) {
        const auto id = static_cast<std::size_t>(kFieldRows[i].id);
        place(fieldLabels_[id], g.*kRowRects[i].label);
        place(fields_[id], g.*kRowRects[i].field);
    }
    place(Label11_, g.Label11);
    fitHeadings();
    for (std::size_t i = 0; i < valueLabels_.size(); ++i)
        place(valueLabels_[i], g.*kValueRects[i]);
    place(CmdOK_, g.CmdOK);
    place(HScroll1_, g.HScroll1);
    place(Label21_, g.Label21);
    place(HScroll2_, g.HScroll2);
    place(Command1_, g.Command1);
    place(Frame1_, g.Frame1);
    place(pictures_[0], g.Picture1);
    place(pictures_[1], g.Picture2);
    place(VScroll1_, g.VScroll1);
    place(pictures_[2], g.Picture3);
    place(VScroll2_, g.VScroll2);
    place(pictures_[3], g.Picture4);
    // A hidden panel gets its resize event only when shown, yet it is drawn on now.
    for (Panel* panel : pictures_)
        panel->fitSurface();
    show_graphs();
    blt_.source = RectI(qRound(g.blt_xs), qRound(g.blt_ys), qRound(g.blt_ws), qRound(g.blt_hs));
    blt_.dest = RectI(qRound(g.blt_xd), qRound(g.blt_yd), qRound(g.blt_wd), qRound(g.blt_hd));
}

void Form1::redrawPictures()
{
    form3_->panel()->fitSurface();
    extents_ = sp::minmax(settings_.params, chars_, settings_.scales, settings_.look);
    Pictures pics{pictures_[0]->surface(), pictures_[1]->surface(), pictures_[2]->surface(),
                  pictures_[3]->surface(), form3_->surface()};
    marks_ = redraw_empty(pics, settings_, chars_, extents_, blt_, fonts::decimal_point());
    drawnSteps_ = 0;
    if (portrait_)
        portrait_->redraw(settings_.params, chars_, extents_);
    syncPanels();
}

void Form1::syncPanels()
{
    for (Panel* panel : pictures_)
        panel->sync();
    form3_->panel()->sync();
    if (portrait_)
        portrait_->panel()->sync();
}

void Form1::show_graphs()
{
    if (Option1_->isChecked()) {
        pictures_[0]->setVisible(true);
        pictures_[1]->setVisible(true);
        pictures_[2]->setVisible(false);
        pictures_[3]->setVisible(false);
        VScroll1_->setVisible(false);
        VScroll2_->setVisible(false);
    } else if (Option2_->isChecked()) {
        pictures_[0]->setVisible(false);
        pictures_[1]->setVisible(false);
        pictures_[2]->setVisible(true);
        pictures_[3]->setVisible(true);
        VScroll1_->setVisible(true);
        VScroll2_->setVisible(true);
    }
}

void Form1::ensureMagnifier()
{
    if (form3_)
        return;
    form3_ = new Form3(this);
    // Resizing the magnifier redraws everything, its own surface at the new size too;
    // so does its move to a screen of another ratio.
    connect(form3_, &Form3::resized, this, &Form1::Form_Resize);
    connect(form3_->panel(), &Panel::ratioChanged, this, &Form1::Form_Resize,
            Qt::QueuedConnection);
}

// Form_Unload: the closing question. Yes closes every window and ends the program at
// once, also in the middle of a run: the run sees the flag after its pause and returns
// without drawing or doing anything more.
void Form1::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();  // the second close that ending the program may send
        return;
    }
    if (platform_.ask(this, texts::kQuitTitle, texts::kQuitQuestion) == Answer::No) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    if (form2_)
        form2_->close();
    if (form3_)
        form3_->close();
    if (curveWindow_)
        curveWindow_->close();  // its runs are given up, not waited for
    if (portrait_)
        portrait_->close();
    endProgram();
}

void Form1::endProgram()
{
    // Ends the main loop and every local loop the run may be waiting in; the destructors
    // run as main() returns.
    QCoreApplication::exit(0);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    else if (auto* edit = qobject_cast<QLineEdit*>(watched))
        fieldFocusEvent(edit, event);
    return QMainWindow::eventFilter(watched, event);
}

// The window's focus widget, also while another window is active: a field keeps its place
// while the closing question or an error box is open, as QLineEdit keeps its selection then.
bool Form1::beingEdited(const QLineEdit* edit)
{
    return edit->isEnabled() && edit->window()->focusWidget() == edit;
}

void Form1::showStart(QLineEdit* edit)
{
    if (!beingEdited(edit))
        edit->setCursorPosition(0);
}

void Form1::fieldFocusEvent(QLineEdit* edit, const QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // A context menu or another window taking the keyboard for a moment is no leaving:
        // the menu's Copy needs the selection, and the user comes back to the same place.
        const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            edit->setCursorPosition(0);
    } else if (event->type() == QEvent::EnabledChange && !edit->isEnabled()) {
        // Locked for a run: disabling moves the focus on without a focus-out event when the
        // window is not active.
        edit->setCursorPosition(0);
    }
}

void Form1::Command1_Click()
{
    ensureMagnifier();
    form3_->move(magnifier_position(frameGeometry()));
    form3_->show();
}

}  // namespace sp
