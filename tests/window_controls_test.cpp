// Every control of the main window as the user meets it: its caption, its hover text, its
// typeface and its colour, one row per control, written out as literal texts and values so
// that two swapped hover texts or a control in the wrong face stand out; then the order
// in which the Tab key visits them.
#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "window_fixture.h"

namespace {

enum class Face { None, Serif, Sans };
enum class Fill { None, Grey, Cyan, Yellow };

struct Control {
    const char* name;
    const char* caption;  // nullptr where the program writes it (values, characteristics)
    const char* tip;      // "" for none
    Face face;
    double points;
    bool bold;
    bool centred;
    Fill fill;
};

constexpr Face TNR = Face::Serif;
constexpr Face MSS = Face::Sans;
constexpr Fill Grey = Fill::Grey;
constexpr Fill Cyan = Fill::Cyan;
constexpr Fill Yellow = Fill::Yellow;

// The labels meant for the Greek-letter face ("a =", "b =") show the Greek letters. The
// panels' texts are painted into their pictures in the fonts the drawing picks.
const Control kControls[] = {
    {"Label10", "Параметры задачи", "Параметры задачи", TNR, 12, true, true, Grey},
    {"Label1", "α =", "Коэффициент затухания безразмерный (можно учесть трение)", TNR, 12, false, false, Grey},
    {"Text1", nullptr, "Коэффициент затухания безразмерный (можно учесть трение)", TNR, 12, false, false, Yellow},
    {"Label4", "β =", "Отношение частот: вынуждающей силы к вертикальной", TNR, 12, false, false, Grey},
    {"Text4", nullptr, "Отношение частот: вынуждающей силы к вертикальной", TNR, 12, false, false, Yellow},
    {"Label7", "Xm =", "Амплитуда вынуждающей силы (безразмерная)", TNR, 12, false, false, Grey},
    {"Text7", nullptr, "Амплитуда вынуждающей силы (безразмерная)", TNR, 12, false, false, Yellow},
    {"Label8", "DYg =", "Вертикальное смещение под действием силы тяжести ( безразмерное)", TNR, 12, false, false, Grey},
    {"Text8", nullptr, "Вертикальное смещение под действием силы тяжести ( безразмерное)", TNR, 12, false, false, Yellow},
    {"Label2", "Xo =", "Начальная горизонтальная координата (безразмерная)", TNR, 12, false, false, Grey},
    {"Text2", nullptr, "Начальная горизонтальная координата", TNR, 12, false, false, Yellow},
    {"Label3", "Vox =", "Начальная горизонтальная скорость", TNR, 12, false, false, Grey},
    {"Text3", nullptr, "Начальная горизонтальная скорость (безразмерная)", TNR, 12, false, false, Yellow},
    {"Label5", "Yo =", "Начальная вертикальная координата  (безразмерная)", TNR, 12, false, false, Grey},
    {"Text5", nullptr, "Начальная вертикальная координата (безразмерная)", TNR, 12, false, false, Yellow},
    {"Label6", "Voy =", "Начальная вертикальная скорость", TNR, 12, false, false, Grey},
    {"Text6", nullptr, "Начальная вертикальная скорость", TNR, 12, false, false, Yellow},
    {"Label9", "Tmax =", "Время расчёта (в собственных периодах)", TNR, 12, false, false, Grey},
    {"Text9", nullptr, "Время расчёта (в собственных периодах)", TNR, 12, false, false, Yellow},
    {"Label11", "Характеристики", "Характеристики движения", TNR, 12, true, true, Grey},
    {"Label12", nullptr, "Отношение частот: горизонтальной к вертикальной  Sqr(DYg / (1 + DYg))", TNR, 11.25, false, false, Cyan},
    {"Label13", nullptr, "Амплитуда свободных горизонтальных колебаний Ax=sqr(Xo^2+V0x^2)", TNR, 11.25, false, false, Cyan},
    {"Label14", nullptr, "Фаза свободных горизонтальных колебаний", TNR, 11.25, false, false, Cyan},
    {"Label15", nullptr,
     "Амплитуда свободных вертикальных колебаний относительно точки равновесия Ay=sqr((Yo-1-DYg)^2+V0y^2)",
     TNR, 11.25, false, false, Cyan},
    {"Label16", nullptr, "Фаза свободных вертикальных колебаний", TNR, 11.25, false, false, Cyan},
    {"Label17", nullptr, "Сдвиг фаз fi_y-fi_x", TNR, 11.25, false, false, Cyan},
    {"Picture1", nullptr, "Плоскость Y-X график", Face::None, 0, false, false, Fill::None},
    {"Picture2", nullptr, "Анимация движения", Face::None, 0, false, false, Fill::None},
    {"Picture3", nullptr, "Зависимость горизонтальной координаты от времени", Face::None, 0, false, false, Fill::None},
    {"Picture4", nullptr, "Зависимость вертикальной координаты от времени", Face::None, 0, false, false, Fill::None},
    {"VScroll1", nullptr, "", Face::None, 0, false, false, Fill::None},
    {"VScroll2", nullptr, "", Face::None, 0, false, false, Fill::None},
    {"HScroll1", nullptr, "", Face::None, 0, false, false, Fill::None},
    {"Label21", "1", "Замедление времени", TNR, 11.25, false, true, Grey},
    {"HScroll2", nullptr, "", Face::None, 0, false, false, Fill::None},
    {"Command1", "ЛУПА", "Увеличение масштаба просмотра до 20 раз", MSS, 8.25, true, false, Fill::None},
    {"Frame1", "Графики", "Выбор показа графика", TNR, 11.25, false, false, Fill::None},
    {"Option1", "Y=Y(X)", "Анимация движения (траектория)", TNR, 11.25, false, false, Fill::None},
    {"Option2", "X(t), Y(t)", "Зависимости координат от времени", TNR, 11.25, false, false, Fill::None},
    {"CmdOK", "ПУСК", "Запуск (остановка) установки", MSS, 8.25, true, false, Fill::None},
};

QString captionOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    return {};
}

QColor fillOf(Fill fill)
{
    switch (fill) {
    case Fill::Grey: return QColor(224, 224, 224);
    case Fill::Cyan: return QColor(192, 255, 255);
    case Fill::Yellow: return QColor(255, 255, 192);
    case Fill::None: break;
    }
    return {};
}

// The face a control asks for first, and the metric-compatible one that stands in for it
// where the original is not installed.
QStringList namesOf(Face face)
{
    if (face == Face::Serif)
        return {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")};
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")};
}

// The two headings give up a little of their size in a window whose boxes are too narrow
// for their whole text.
// The field labels (Label1 to Label9) may give up to two points, so that a caption wider
// than its box («Tmax =») keeps clear of its field.
double mayGiveUp(const Control& c)
{
    const QLatin1String name(c.name);
    if (name == QLatin1String("Label10") || name == QLatin1String("Label11"))
        return 1;
    if (name.size() == 6 && name.startsWith(QLatin1String("Label")) && name.back() >= '1' && name.back() <= '9')
        return 2;
    return 0;
}

void expectFace(const QFont& font, const Control& c)
{
    const QStringList names = namesOf(c.face);
    EXPECT_EQ(font.families().value(0).toStdString(), names.front().toStdString());
    EXPECT_TRUE(names.contains(QFontInfo(font).family())) << QFontInfo(font).family().toStdString();
    if (const double room = mayGiveUp(c); room > 0) {
        EXPECT_LE(font.pointSizeF(), c.points);
        EXPECT_GE(font.pointSizeF(), c.points - room);
    } else {
        EXPECT_EQ(font.pointSizeF(), c.points);
    }
    EXPECT_EQ(font.bold(), c.bold);
}

TEST_F(WindowTest, EveryControlHasItsCaptionHoverTextTypefaceAndColour)
{
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        const QWidget* w = child<QWidget>(c.name);
        if (!w)
            continue;
        if (c.caption) {
            EXPECT_EQ(captionOf(w).toStdString(), c.caption);
        }
        EXPECT_EQ(w->toolTip().toStdString(), c.tip);
        if (c.face != Face::None)
            expectFace(w->font(), c);
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            EXPECT_EQ((label->alignment() & Qt::AlignHCenter) != 0, c.centred);
        }
        if (c.fill == Fill::Yellow) {
            EXPECT_EQ(w->palette().color(QPalette::Base), fillOf(c.fill));
        } else if (c.fill != Fill::None) {
            EXPECT_TRUE(w->autoFillBackground());
            EXPECT_EQ(w->palette().color(QPalette::Window), fillOf(c.fill));
        }
    }
}

TEST_F(WindowTest, EveryNamedControlIsInTheTable)
{
    QStringList listed;
    for (const Control& c : kControls)
        listed << QString::fromLatin1(c.name);
    for (const QWidget* w : form->centralWidget()->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_TRUE(listed.contains(w->objectName())) << w->objectName().toStdString();
        }
    }
}

// The keyboard visits the controls in this order; the labels and the frame take no focus.
TEST_F(WindowTest, TabVisitsTheControlsInTheirOrder)
{
    QWidget* first = child<QWidget>("CmdOK");
    QStringList order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && form->isAncestorOf(w))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && order.size() < 100);
    EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(),
              "CmdOK Picture1 Text2 Text1 Text4 Text5 Text6 HScroll1 Text3 Text7 Text8 Text9 "
              "Command1 HScroll2 Picture2 Option1 Option2 Picture3 Picture4 VScroll1 VScroll2");
}

}  // namespace
