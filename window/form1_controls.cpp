// Construction of the main window's controls: kinds, captions, hover texts, typefaces,
// colours and keyboard order. Positions come later, from the layout.

#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "window/field_table.h"
#include "window/fonts.h"
#include "window/form1.h"
#include "window/lab_texts.h"
#include "window/panel.h"
#include "window/texts.h"

namespace sp {
namespace {

const QColor kLabelGrey(224, 224, 224);
const QColor kValueCyan(192, 255, 255);
const QColor kFieldYellow(255, 255, 192);
// The padding QLineEdit keeps between its frame and its text, left and right.
constexpr int kLineEditPadding = 2;

QFont headingFont()
{
    QFont heading = fonts::serif(12);
    heading.setBold(true);
    return heading;
}

// The largest size, up to the heading's own, at which the text fits the label's width: in
// the narrowest window «Параметры задачи» in 12 points bold is wider than its box and would
// be cut at both ends.
void fitHeading(QLabel* label)
{
    QFont font = headingFont();
    const int room = label->contentsRect().width();
    constexpr double kSmallest = 6;
    while (font.pointSizeF() > kSmallest &&
           QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (label->font() != font)
        label->setFont(font);
}

// A field label whose caption is wider than its box («Tmax =» in 12 points is 50 pixels in
// 48) would run into its field: it gives up to two points of its size so that a pixel of
// room stays between them. Labels that fit keep their size.
void fitFieldLabel(QLabel* label)
{
    QFont font = fonts::serif(12);
    font.setLetterSpacing(label->font().letterSpacingType(), label->font().letterSpacing());
    const int room = label->contentsRect().width() - 2;
    constexpr double kSmallest = 10;
    while (font.pointSizeF() > kSmallest && QFontMetricsF(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (label->font() != font)
        label->setFont(font);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QString& tip,
                  const QFont& font, const QColor& background)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(tip);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
    return label;
}

QScrollBar* makeBar(QWidget* parent, const char* name, Qt::Orientation orientation, int maximum)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(1, maximum);
    bar->setValue(1);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    // Only the released value counts: every change redraws all pictures.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

}  // namespace

void Form1::createControls()
{
    createParameterBlock();
    createCharacteristicsBlock();
    createPanels();
    createBottomRow();
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(1);
    setTabOrderChain();
}

void Form1::createParameterBlock()
{
    Label10_ = makeLabel(client_, "Label10", texts::kParametersHeading,
                         texts::kParametersHeading, headingFont(), kLabelGrey);
    Label10_->setAlignment(Qt::AlignCenter);

    for (const FieldRow& row : kFieldRows) {
        const auto index = static_cast<std::size_t>(row.id);
        const QString caption = QString::fromUtf8(row.caption);
        fieldLabels_[index] =
            makeLabel(client_, row.label, row.greek ? fonts::greek_text(caption) : caption,
                      QString::fromUtf8(row.label_tip), fonts::serif(12), kLabelGrey);

        auto* edit = new QLineEdit(client_);
        edit->setObjectName(QString::fromLatin1(row.field));
        edit->setToolTip(QString::fromUtf8(row.field_tip));
        edit->setFont(fonts::serif(12));
        // The line edit keeps two pixels of padding inside its frame on each side; in the
        // 80-pixel field that hides a digit of a normal value (ten characters in 12 points).
        // The text runs from frame to frame instead.
        edit->setTextMargins(-kLineEditPadding, 0, -kLineEditPadding, 0);
        edit->installEventFilter(this);
        // Screen readers name a field after the label that is its buddy: «α =», «DYg =», …
        fieldLabels_[index]->setBuddy(edit);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, kFieldYellow);
        edit->setPalette(palette);
        const ParamId id = row.id;
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { fitFieldText(edit); });
        connect(edit, &QLineEdit::textChanged, this, [this, id] { fieldChanged(id); });
        fields_[index] = edit;
    }
}

void Form1::createCharacteristicsBlock()
{
    Label11_ = makeLabel(client_, "Label11", texts::kCharacteristicsHeading,
                         texts::kCharacteristicsTip, headingFont(), kLabelGrey);
    Label11_->setAlignment(Qt::AlignCenter);
    for (std::size_t i = 0; i < kValueLabels.size(); ++i) {
        const ValueLabel& v = kValueLabels[i];
        // The design-time captions are the labels' own names; start-up replaces them.
        valueLabels_[i] = makeLabel(client_, v.name, QString::fromLatin1(v.name),
                                    QString::fromUtf8(v.tip), fonts::serif(11.25), kValueCyan);
    }
}

void Form1::createPanels()
{
    const char* names[] = {"Picture1", "Picture2", "Picture3", "Picture4"};
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        auto* panel = new Panel(client_);
        panel->setObjectName(QString::fromLatin1(names[i]));
        panel->setToolTip(texts::kPictureTips[i]);
        // A picture has no text of its own for a screen reader to announce.
        panel->setAccessibleName(panel->toolTip());
        pictures_[i] = panel;
    }
    VScroll1_ = makeBar(client_, "VScroll1", Qt::Vertical, 100);
    VScroll2_ = makeBar(client_, "VScroll2", Qt::Vertical, 100);
    connect(VScroll1_, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(VScroll2_, &QScrollBar::valueChanged, this, &Form1::VScroll2_Change);
}

void Form1::createBottomRow()
{
    HScroll1_ = makeBar(client_, "HScroll1", Qt::Horizontal, 9);
    connect(HScroll1_, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    Label21_ = makeLabel(client_, "Label21", QStringLiteral("1"), texts::kSlowDownTip,
                         fonts::serif(11.25), kLabelGrey);
    Label21_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    HScroll2_ = makeBar(client_, "HScroll2", Qt::Horizontal, 20);
    connect(HScroll2_, &QScrollBar::valueChanged, this, &Form1::HScroll2_Change);

    QFont button = fonts::sans(8.25);
    button.setBold(true);
    Command1_ = new QPushButton(texts::kMagnifierButton, client_);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setToolTip(texts::kMagnifierTip);
    Command1_->setFont(button);
    connect(Command1_, &QPushButton::clicked, this, &Form1::Command1_Click);

    CmdOK_ = new QPushButton(texts::kStart, client_);
    CmdOK_->setObjectName(QStringLiteral("CmdOK"));
    CmdOK_->setToolTip(texts::kStartTip);
    CmdOK_->setFont(button);
    connect(CmdOK_, &QPushButton::clicked, this, &Form1::CmdOK_Click);

    Frame1_ = new QGroupBox(texts::kGraphsFrame, client_);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setToolTip(texts::kGraphsTip);
    Frame1_->setFont(fonts::serif(11.25));
    Option1_ = new QRadioButton(QStringLiteral("Y=Y(X)"), Frame1_);
    Option1_->setObjectName(QStringLiteral("Option1"));
    Option1_->setToolTip(texts::kPlaneTip);
    Option1_->setGeometry(3, 17, 73, 20);
    Option1_->setChecked(true);
    Option2_ = new QRadioButton(QStringLiteral("X(t), Y(t)"), Frame1_);
    Option2_->setObjectName(QStringLiteral("Option2"));
    Option2_->setToolTip(texts::kTimeGraphsTip);
    Option2_->setGeometry(3, 37, 80, 20);
    // In a window wider than high the bottom row lies over the time graphs: the frame and its
    // buttons paint their own background, or the graph's labels and grid show through them.
    for (QWidget* w : {static_cast<QWidget*>(Frame1_), static_cast<QWidget*>(Option1_),
                       static_cast<QWidget*>(Option2_)})
        w->setAutoFillBackground(true);
    // Option*_Click: only the view changes; nothing is cleared or redrawn.
    connect(Option1_, &QRadioButton::clicked, this, &Form1::show_graphs);
    connect(Option2_, &QRadioButton::clicked, this, &Form1::show_graphs);
}

void Form1::fitHeadings()
{
    fitHeading(Label10_);
    fitHeading(Label11_);
    for (QLabel* label : fieldLabels_)
        fitFieldLabel(label);
    for (QLineEdit* edit : fields_)
        fitFieldText(edit);
}

// A normal value (ten characters) fills the field exactly; a negative one has a minus sign
// more, and its last digit would be out of view. Such a text is set a little closer, at
// most a tenth, so that it shows whole; a text that fits keeps the normal spacing.
void Form1::fitFieldText(QLineEdit* edit)
{
    QFont font = edit->font();
    // The text runs between the frames (its padding is cancelled above).
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const int room = edit->contentsRect().width() - 2 * frame - kLineEditPadding;
    double spacing = 100;
    font.setLetterSpacing(QFont::PercentageSpacing, spacing);
    while (spacing > 90 && QFontMetricsF(font).horizontalAdvance(edit->text()) > room) {
        spacing -= 1;
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
    }
    if (edit->font() != font)
        edit->setFont(font);
}

void Form1::setTabOrderChain()
{
    const QList<QWidget*> chain = {CmdOK_,
                                   pictures_[0],
                                   field(ParamId::Xo),
                                   field(ParamId::alpha),
                                   field(ParamId::beta),
                                   field(ParamId::Yo),
                                   field(ParamId::Voy),
                                   HScroll1_,
                                   field(ParamId::Vox),
                                   field(ParamId::Xm),
                                   field(ParamId::DYg),
                                   field(ParamId::Tmax),
                                   Command1_,
                                   HScroll2_,
                                   pictures_[1],
                                   Option1_,
                                   Option2_,
                                   pictures_[2],
                                   pictures_[3],
                                   VScroll1_,
                                   VScroll2_};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

// Names for screen readers where the control shows no words of its own: the four bars
// and the bare number beside the slow-down bar.
void Form1::nameForAssistiveTechnology()
{
    VScroll1_->setAccessibleName(lab::kZoomXtName);
    VScroll2_->setAccessibleName(lab::kZoomYtName);
    HScroll1_->setAccessibleName(lab::kSlowDownName);
    HScroll2_->setAccessibleName(lab::kLupaZoomName);
    Label21_->setAccessibleName(Label21_->toolTip());
    Label21_->setAccessibleDescription(lab::kSlowDownDescription);
}

}  // namespace sp
