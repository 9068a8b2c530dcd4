// Parameter entry: reading, checking, normalising, and the re-layouts an edit causes.
#include <QLineEdit>
#include <array>
#include <cmath>

#include "model/number_format.h"
#include "window/texts.h"
#include "window_fixture.h"

namespace {

using Kind = sp::RecordingPlatform::Kind;

TEST_F(WindowTest, StartUpWritesTheFieldsWithoutHandlingThem)
{
    const std::pair<const char*, const char*> expected[] = {
        {"Text1", "0.00100000"}, {"Text4", "0.50000000"}, {"Text7", "0.10000000"},
        {"Text8", "0.33333333"}, {"Text2", "0.00000000"}, {"Text3", "0.00000000"},
        {"Text5", "1.33333333"}, {"Text6", "0.00000000"}, {"Text9", "150.0"}};
    for (const auto& [name, value] : expected)
        EXPECT_EQ(text(name)->text(), QString::fromLatin1(value)) << name;
    EXPECT_EQ(caption("Label21"), "1");
    // The start-up writes are not read back: DYg is still exactly 1/3.
    EXPECT_EQ(form->settings().params.DYg, 1.0 / 3.0);
    EXPECT_TRUE(platform.calls().empty());
}

TEST_F(WindowTest, CharacteristicsCaptions)
{
    EXPECT_EQ(caption("Label12"), QStringLiteral("γ = 0.500"));
    EXPECT_EQ(caption("Label13"), QStringLiteral("Ax = 0.000E+00 "));
    EXPECT_EQ(caption("Label14"), QStringLiteral("fi_x = 1.571 рад "));
    EXPECT_EQ(caption("Label15"), QStringLiteral("Ay = 5.551E-17 "));
    EXPECT_EQ(caption("Label16"), QStringLiteral("fi_y = 1.571 рад "));
    EXPECT_EQ(caption("Label17"), QStringLiteral("Δφ = 0.000π"));
    EXPECT_EQ(caption("Label1"), QStringLiteral("α ="));
    EXPECT_EQ(caption("Label4"), QStringLiteral("β ="));
}

// Values chosen so that no two labels could show the same text: a label that showed its
// neighbour's value, or a phase of the wrong axis, would be seen.
TEST_F(WindowTest, EachCharacteristicLabelShowsItsOwnValue)
{
    type(text("Text8"), "3");    // DYg: γ = √0.75
    type(text("Text2"), "1");    // Xo
    type(text("Text3"), "1");    // Vox
    type(text("Text5"), "1.5");  // Yo, 2.5 above the equilibrium
    type(text("Text6"), "0.3");  // Voy
    EXPECT_EQ(caption("Label12"), QStringLiteral("γ = 0.866"));
    EXPECT_EQ(caption("Label13"), QStringLiteral("Ax = 1.414E+00 "));
    EXPECT_EQ(caption("Label14"), QStringLiteral("fi_x = 0.857 рад "));
    EXPECT_EQ(caption("Label15"), QStringLiteral("Ay = 2.518E+00 "));
    EXPECT_EQ(caption("Label16"), QStringLiteral("fi_y = -0.119 рад "));
    EXPECT_EQ(caption("Label17"), QStringLiteral("Δφ = -0.311π"));
}

// The captions as made from the numbers, before the Greek typeface's letters are put in.
TEST(CharacteristicCaptions, FormatsPrefixesAndSuffixes)
{
    sp::Characteristics c;
    c.g = 0.25;
    c.Ax = 1500;
    c.fi_x = 1.10715;
    c.Ay = 2.5e-7;
    c.fi_y = -0.75;
    c.Dj = -0.5F;
    EXPECT_EQ(sp::texts::characteristic_captions(c, '.'),
              (std::array<QString, 6>{"g = 0.250", "Ax = 1.500E+03 ", QStringLiteral("fi_x = 1.107 рад "),
                                      "Ay = 2.500E-07 ", QStringLiteral("fi_y = -0.750 рад "),
                                      "Dj = -0.500p"}));
    EXPECT_EQ(sp::texts::characteristic_captions(c, ','),
              (std::array<QString, 6>{"g = 0,250", "Ax = 1,500E+03 ", QStringLiteral("fi_x = 1,107 рад "),
                                      "Ay = 2,500E-07 ", QStringLiteral("fi_y = -0,750 рад "),
                                      "Dj = -0,500p"}));
}

// A value the model gives a reason for instead of a number shows a dash and no unit; the
// others keep theirs.
TEST(CharacteristicCaptions, UndefinedValuesShowADash)
{
    sp::Parameters p = sp::defaults().params;
    p.DYg = -0.5;
    p.Xo = 0.5;
    auto captions = sp::texts::characteristic_captions(sp::characteristics_of(p), '.');
    EXPECT_EQ(captions[0], QStringLiteral("g = —"));
    EXPECT_EQ(captions[1], "Ax = 5.000E-01 ");
    EXPECT_EQ(captions[2], QStringLiteral("fi_x = —"));
    EXPECT_EQ(captions[5], QStringLiteral("Dj = —"));

    p.Xo = 0;  // no frequency, yet the horizontal phase is π/2
    captions = sp::texts::characteristic_captions(sp::characteristics_of(p), '.');
    EXPECT_EQ(captions[0], QStringLiteral("g = —"));
    EXPECT_EQ(captions[2], QStringLiteral("fi_x = 1.571 рад "));
    EXPECT_TRUE(captions[5].startsWith("Dj = ") && captions[5].endsWith("p")) << captions[5].toStdString();

    p.DYg = 0;  // a frequency of 0 is a value; the phase of Xo ≠ 0 is not
    p.Xo = 1;
    captions = sp::texts::characteristic_captions(sp::characteristics_of(p), '.');
    EXPECT_EQ(captions[0], "g = 0.000");
    EXPECT_EQ(captions[2], QStringLiteral("fi_x = —"));
}

class CommaLocaleTest : public WindowTest {
protected:
    QLocale locale() const override { return QLocale(QLocale::Russian, QLocale::Russia); }
};

TEST_F(CommaLocaleTest, FieldsKeepPointsWhileCaptionsUseTheComma)
{
    EXPECT_EQ(text("Text8")->text(), "0.33333333");
    EXPECT_EQ(text("Text9")->text(), "150.0");
    EXPECT_EQ(caption("Label12"), QStringLiteral("γ = 0,500"));
    EXPECT_EQ(caption("Label15"), QStringLiteral("Ay = 5,551E-17 "));
    type(text("Text7"), "0.25");
    EXPECT_EQ(text("Text7")->text(), "0.25000000");
    EXPECT_EQ(form->settings().params.Xm, 0.25);
}

TEST_F(WindowTest, NegativeDampingIsRejectedWithToneAndMessage)
{
    insertAt(text("Text1"), 0, "-");
    EXPECT_EQ(platform.log(),
              (std::vector<QString>{
                  "tone 880 300",
                  QStringLiteral("message Ошибка | не может быть отрицательным! Не вводите заново, а исправьте!")}));
    EXPECT_EQ(text("Text1")->text(), "0.00000000");
    EXPECT_EQ(form->settings().params.alpha, 0.0);
}

TEST_F(WindowTest, RejectedEntriesGetTheirOwnReplacements)
{
    type(text("Text4"), "-2");
    EXPECT_EQ(form->settings().params.beta, 0.5);  // not 0 as for the damping
    EXPECT_EQ(text("Text4")->text(), "0.50000000");

    type(text("Text9"), "");
    EXPECT_EQ(form->settings().params.Tmax, 1.0);
    EXPECT_EQ(text("Text9")->text(), "1.0");
    const auto messages = platform.calls_of(Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, QStringLiteral("Должно быть больше 0! Не вводите заново, а исправьте!"));
}

// Each checked field says what is wrong with its own value, in its own words.
TEST_F(WindowTest, EachRejectedFieldHasItsOwnMessage)
{
    type(text("Text1"), "-1");
    type(text("Text4"), "-1");
    type(text("Text9"), "-1");
    const auto messages = platform.calls_of(Kind::Message);
    ASSERT_EQ(messages.size(), 3u);
    const QString expected[] = {
        QStringLiteral("не может быть отрицательным! Не вводите заново, а исправьте!"),
        QStringLiteral("Не должна быть меньше 0! Не вводите заново, а исправьте!"),
        QStringLiteral("Должно быть больше 0! Не вводите заново, а исправьте!"),
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages[i].title, QStringLiteral("Ошибка")) << i;
        EXPECT_EQ(messages[i].text, expected[i]) << i;
    }
}

TEST_F(WindowTest, AcceptedEntriesAreNormalised)
{
    type(text("Text4"), "");
    EXPECT_EQ(form->settings().params.beta, 0.0);  // an empty field is 0, and 0 is allowed
    type(text("Text4"), "0,75");
    EXPECT_EQ(form->settings().params.beta, 0.0);
    EXPECT_EQ(text("Text4")->text(), "0.00000000");
    type(text("Text9"), "2.24");
    EXPECT_EQ(text("Text9")->text(), "2.2");
    EXPECT_EQ(form->settings().params.Tmax, 2.2);
    type(text("Text2"), "1 000");
    EXPECT_EQ(form->settings().params.Xo, 1000.0);
    EXPECT_EQ(text("Text2")->text(), "1000.00000000");
    type(text("Text1"), "1E-9");
    EXPECT_EQ(form->settings().params.alpha, 0.0);
    type(text("Text6"), "0.1");
    EXPECT_EQ(form->settings().params.Voy, 0.1F);
    EXPECT_EQ(platform.count(Kind::Message), 0u);
}

TEST_F(WindowTest, AnEditThatNeedsNormalisingRelaysOutTwiceAnOverwriteOnce)
{
    QLineEdit* beta = text("Text4");
    beta->setSelection(2, 1);
    beta->insert("6");  // 0.50000000 → 0.60000000, already normalised
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(form->settings().params.beta, 0.6);

    layouts = 0;
    insertAt(beta, 3, "5");  // 0.650000000 has one decimal too many
    EXPECT_EQ(beta->text(), "0.65000000");
    EXPECT_EQ(layouts, 2);
}

TEST_F(WindowTest, TheInsertionPointStaysWhereTheUserTyped)
{
    QLineEdit* xm = text("Text7");
    xm->setFocus();
    insertAt(xm, 3, "5");  // 0.150000000 → 0.15000000
    EXPECT_EQ(xm->text(), "0.15000000");
    EXPECT_EQ(xm->cursorPosition(), 4);
}

TEST_F(WindowTest, EveryEditRecomputesTheCharacteristics)
{
    type(text("Text2"), "1");
    EXPECT_EQ(caption("Label13"), QStringLiteral("Ax = 1.000E+00 "));
    type(text("Text8"), "-0.5");  // no horizontal frequency below zero
    EXPECT_EQ(caption("Label12"), QStringLiteral("γ = —"));
    EXPECT_EQ(caption("Label14"), QStringLiteral("fi_x = —"));
}

// Whatever is typed or pasted, the field settles on a normalised finite number and the
// parameter holds exactly that number. The awkward texts of every kind, each in some field
// and the most dangerous in all of them; the field-edit fuzz target's corpus carries the
// random breadth.
TEST_F(WindowTest, AnyTextEndsAsANormalisedFiniteNumber)
{
    platform.default_answer = sp::Answer::Yes;
    const char* names[] = {"Text1", "Text4", "Text7", "Text8", "Text2", "Text3", "Text5", "Text6", "Text9"};
    const auto check = [this](const char* name, const QString& typed) {
        QLineEdit* edit = text(name);
        type(edit, typed);
        const std::string shown = edit->text().toStdString();
        const double value = sp::read_number(shown);
        ASSERT_TRUE(std::isfinite(value)) << name << " " << typed.left(40).toStdString();
        const int decimals = edit->objectName() == "Text9" ? 1 : 8;
        ASSERT_EQ(sp::format_field(value, decimals), shown) << name << " " << typed.left(40).toStdString();
    };
    const QString awkward[] = {
        "1e308", "-1e308", "1.7976931348623157e308", "1e-320", "-4.9e-324", "1e-400",
        "0.000000005", "-0.000000004", "-0", "99999999999999999999999", "-", "+", ".", "-.",
        "+-1", "--1", "1e", "1e+", "E5", "2.5D3", "1d-3", "3.5e-2.5", "1.5.7", "&H", "&hFFFFffff",
        "&O777", "&O8", "&H1G", "&HFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "1,5", ",5", "1,000.25",
        " 1 2 3 ", "\t-\t0.5\n", "", " ", "x9999", "0x1F", "inf", "nan", "-Infinity",
        QStringLiteral("привет"), QStringLiteral("１２３"), QStringLiteral("−5"),
        QStringLiteral("½"), QStringLiteral("3·10⁵"), QString(5000, QLatin1Char('9')),
        "0." + QString(5000, QLatin1Char('0')) + "1", "1e" + QString(400, QLatin1Char('9')),
        "&O" + QString(400, QLatin1Char('7')), QString(2000, QLatin1Char('-')),
    };
    int k = 0;
    for (const QString& typed : awkward)
        check(names[k++ % 9], typed);
    // The extremes and the words a number reader might take for infinity, in every field.
    for (const char* name : names)
        for (const QString& typed :
             {QString("1e309"), QString("-1e309"), QString("inf"), "&H" + QString(300, QLatin1Char('F')),
              QString(5000, QLatin1Char('9')), QString("1e-9")})
            check(name, typed);
    const sp::Parameters& p = form->settings().params;
    EXPECT_GE(p.alpha, 0);
    EXPECT_GE(p.beta, 0);
    EXPECT_GT(p.Tmax, 0);
}

}  // namespace
