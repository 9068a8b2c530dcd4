// What the window shows and says beyond its numbers: fields that show their start, whole
// headings, Qt's own texts in Russian, names for screen readers, an information box that
// does not break its lines, and controls that stay opaque over the time graphs.
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "drawing/colors.h"
#include "platform/qt_platform.h"
#include "window/field_table.h"
#include "window/panel.h"
#include "window/texts.h"
#include "window_fixture.h"

namespace {

QImage look(QLineEdit* edit)
{
    return edit->grab().toImage();
}

// Whether the field shows the same picture as with its cursor at the start, where the
// sign and the integer digits are (the field is left as it was).
bool showsItsStart(QLineEdit* edit)
{
    const QImage now = look(edit);
    const int cursor = edit->cursorPosition();
    edit->home(false);
    const QImage start = look(edit);
    edit->setCursorPosition(cursor);
    return now == start;
}

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

class ScreenTest : public WindowTest {
protected:
    void focus(QLineEdit* edit, Qt::FocusReason reason)
    {
        QApplication::setActiveWindow(form.get());
        edit->setFocus(reason);
        QCoreApplication::processEvents();
    }
};

TEST_F(ScreenTest, AFieldTheUserLeftShowsItsStart)
{
    // A normal value fits whole, so the view does not depend on where the cursor is.
    QLineEdit* dyg = text("Text8");
    ASSERT_EQ(dyg->text(), "0.33333333");
    dyg->end(false);
    EXPECT_TRUE(showsItsStart(dyg));

    // −1234.5 is wider than the field; typed in, the part at the cursor shows: the end.
    focus(dyg, Qt::MouseFocusReason);
    dyg->selectAll();
    dyg->insert("-1234.5");
    ASSERT_EQ(dyg->text(), "-1234.50000000");
    EXPECT_EQ(form->settings().params.DYg, -1234.5);
    dyg->end(false);
    look(dyg);  // painted scrolled to the end
    focus(text("Text9"), Qt::TabFocusReason);
    EXPECT_TRUE(showsItsStart(dyg)) << "the minus sign is out of view";
    dyg->end(false);
    ASSERT_FALSE(showsItsStart(dyg)) << "the text is no wider than the field";

    // Rewritten while another field has the focus, and locked for a run: the start again.
    dyg->setText("-2");
    EXPECT_TRUE(showsItsStart(dyg));
    focus(dyg, Qt::MouseFocusReason);
    dyg->end(false);
    look(dyg);
    // Locked while the window is not active: the focus moves on without a focus-out event.
    QApplication::setActiveWindow(nullptr);
    dyg->setEnabled(false);
    EXPECT_TRUE(showsItsStart(dyg));
}

TEST_F(ScreenTest, ANegativeValueShowsWholeAndEveryLabelKeepsClearOfItsField)
{
    // A minus sign more than a normal value: the last digit must still be in view, wherever
    // the cursor stands, and a positive value keeps its normal spacing.
    for (const char* name : {"Text7", "Text2", "Text8"}) {
        QLineEdit* edit = text(name);
        focus(edit, Qt::MouseFocusReason);
        edit->selectAll();
        edit->insert("-0.7");
        ASSERT_EQ(edit->text(), "-0.70000000") << name;
        edit->end(false);
        look(edit);  // painted with the cursor at the end
        focus(text("Text9"), Qt::TabFocusReason);  // no cursor drawn in the comparison
        edit->end(false);
        EXPECT_TRUE(showsItsStart(edit)) << name << ": a digit is out of view";
        focus(edit, Qt::MouseFocusReason);
        edit->selectAll();
        edit->insert("0.25");
        EXPECT_EQ(edit->font().letterSpacing(), 100) << name;
    }
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8",
                             "Label9"}) {
        auto* label = child<QLabel>(name);
        EXPECT_LT(QFontMetricsF(label->font()).horizontalAdvance(label->text()), label->contentsRect().width())
            << name << " runs into its field";
    }
}

TEST_F(ScreenTest, HeadingsReadWholeInTheirBoxes)
{
    for (const char* name : {"Label10", "Label11"}) {
        auto* heading = child<QLabel>(name);
        EXPECT_EQ(heading->width(), 128) << name;
        EXPECT_LE(QFontMetrics(heading->font()).horizontalAdvance(heading->text()),
                  heading->contentsRect().width())
            << name;
    }
}

TEST_F(ScreenTest, QtsOwnButtonsAndMenusSpeakRussian)
{
    ASSERT_TRUE(sp::install_qt_translations(*qApp)) << "qtbase_ru.qm (qt6-translations-l10n)";
    // The closing question as the real platform builds it.
    const auto box = sp::make_question_box(form.get(), sp::texts::kQuitTitle, sp::texts::kQuitQuestion);
    EXPECT_EQ(withoutMnemonic(box->button(QMessageBox::Yes)->text()), QStringLiteral("Да"));
    EXPECT_EQ(withoutMnemonic(box->button(QMessageBox::No)->text()), QStringLiteral("Нет"));
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));

    std::unique_ptr<QMenu> menu(text("Text1")->createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << withoutMnemonic(action->text()).section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("Копировать"))) << items.join(" | ").toStdString();
    EXPECT_FALSE(items.contains(QStringLiteral("Copy")));
}

QString accessibleName(QObject* object)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

TEST_F(ScreenTest, ScreenReadersHearWhatTheUserSees)
{
    QStringList names;
    for (const sp::FieldRow& row : sp::kFieldRows)
        names << accessibleName(text(row.field));
    EXPECT_EQ(names, (QStringList{"α =", "β =", "Xm =", "DYg =", "Xo =", "Vox =", "Yo =", "Voy =",
                                  "Tmax ="}));
    for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4"}) {
        QWidget* panel = child<QWidget>(name);
        EXPECT_EQ(accessibleName(panel), panel->toolTip()) << name;
    }
    EXPECT_TRUE(accessibleName(child<QLabel>("Label12")).startsWith(QStringLiteral("γ = ")));
    type(text("Text2"), "1");  // the characteristics follow the values
    EXPECT_EQ(accessibleName(child<QLabel>("Label13")), caption("Label13"));
    EXPECT_TRUE(caption("Label13").startsWith("Ax = 1.0"));
}

TEST_F(ScreenTest, TheInformationBoxKeepsEachLineWhole)
{
    const auto box = sp::make_message_box(form.get(), sp::texts::kAboutTitle, sp::texts::about_text());
    box->show();
    QCoreApplication::processEvents();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    const QFontMetrics metrics(label->font());
    const QStringList lines = sp::texts::about_text().split('\n');
    ASSERT_EQ(lines.size(), 12);
    // Twelve lines tall at the label's width: no line is broken.
    EXPECT_LE(label->heightForWidth(label->width()), 12 * metrics.lineSpacing() + 2);
    EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width());
    box->close();
}

TEST_F(ScreenTest, TheBottomRowStaysOpaqueOverTheTimeGraphs)
{
    form->resize(form->width() + 300, form->height());
    QCoreApplication::processEvents();
    child<QRadioButton>("Option2")->click();
    QCoreApplication::processEvents();
    const std::uint32_t red = sp::colors::kRed;
    for (const char* name : {"Picture3", "Picture4"}) {
        auto* panel = child<sp::Panel>(name);
        sp::Surface& surface = panel->surface();
        surface.set_scale(0, 0, 1, 1);
        surface.fill_style(0);
        surface.fill_color(red);
        surface.draw_box(0, 0, 1, 1, red);
        panel->sync();
    }
    QWidget* client = child<QWidget>("client");
    const QImage screen = client->grab().toImage();
    const QRgb graph = sp::colors::to_rgb(red);
    const QRect panel = child<QWidget>("Picture4")->geometry() & client->rect();
    ASSERT_EQ(screen.pixel(panel.center()), graph);
    for (const char* name : {"Frame1", "Label21"}) {
        const QRect over = child<QWidget>(name)->geometry() & panel;
        ASSERT_FALSE(over.isEmpty()) << name << " does not lie over the graph";
        int seeThrough = 0;
        for (int y = over.top(); y <= over.bottom(); ++y)
            for (int x = over.left(); x <= over.right(); ++x)
                seeThrough += screen.pixel(x, y) == graph ? 1 : 0;
        EXPECT_EQ(seeThrough, 0) << name;
    }
}

}  // namespace
