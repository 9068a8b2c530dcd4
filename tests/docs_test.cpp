#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "docs/pdf_typesetter.h"

namespace {

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

int pages(const QByteArray& pdf)
{
    return int(QString::fromLatin1(pdf).count(QRegularExpression("/Type /Page\\b(?!s)")));
}

class Typesetter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString error;
};

TEST_F(Typesetter, MakesAPdfAndBreaksLongTextIntoPages)
{
    QByteArray body;
    for (int i = 0; i < 200; ++i)
        body += "<p>Груз на пружине, γ = √(DYg/(1 + DYg)), абзац " + QByteArray::number(i) + ".</p>";
    ASSERT_TRUE(write(path("long.html"), "<html><head><title>Проба</title></head><body><h1>Проба</h1>"
                                             + body + "</body></html>"));
    ASSERT_TRUE(write(path("short.html"),
                      "<html><head><title>Коротко</title></head><body><p>Одна строка.</p></body></html>"));

    ASSERT_TRUE(sp::docs::typeset_pdf(path("long.html"), path("long.pdf"), &error)) << error.toStdString();
    ASSERT_TRUE(sp::docs::typeset_pdf(path("short.html"), path("short.pdf"), &error)) << error.toStdString();

    const QByteArray long_pdf = read(path("long.pdf"));
    const QByteArray short_pdf = read(path("short.pdf"));
    EXPECT_TRUE(long_pdf.startsWith("%PDF"));
    EXPECT_TRUE(short_pdf.startsWith("%PDF"));
    EXPECT_EQ(pages(short_pdf), 1);
    EXPECT_GT(pages(long_pdf), 2);
}

TEST_F(Typesetter, FailsLoudlyInsteadOfLeavingABadDocument)
{
    EXPECT_FALSE(sp::docs::typeset_pdf(path("missing.html"), path("missing.pdf"), &error));
    EXPECT_TRUE(error.contains("missing.html"));
    EXPECT_FALSE(QFile::exists(path("missing.pdf")));

    ASSERT_TRUE(write(path("untitled.html"), "<html><body><p>Без заголовка.</p></body></html>"));
    error.clear();
    EXPECT_FALSE(sp::docs::typeset_pdf(path("untitled.html"), path("untitled.pdf"), &error));
    EXPECT_TRUE(error.contains("title"));

    ASSERT_TRUE(write(path("ok.html"), "<html><head><title>Т</title></head><body>т</body></html>"));
    error.clear();
    EXPECT_FALSE(sp::docs::typeset_pdf(path("ok.html"), path("no/such/folder/ok.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(Typesetter, EveryAccompanyingDocumentTypesets)
{
    for (const char* name : {"spravka", "spravka2", "uprav"}) {
        SCOPED_TRACE(name);
        const QString source = QDir(SP_DOCS_SOURCE_DIR).filePath(QString(name) + ".html");
        const QString pdf = path(QString(name) + ".pdf");
        ASSERT_TRUE(sp::docs::typeset_pdf(source, pdf, &error)) << error.toStdString();
        const QByteArray bytes = read(pdf);
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_GE(pages(bytes), 2);
    }
}

// The window's experiment menu and the guide are read side by side: every experiment the menu
// offers has its section in the guide, under the menu's title without the variant.
TEST(ExperimentsGuide, EveryExperimentOfTheMenuHasItsSection)
{
    const QString guide = QString::fromUtf8(read(QDir(SP_DOCS_SOURCE_DIR).filePath("spravka2.html")));
    const QStringList rows = QString::fromUtf8(read(QDir(SP_DOCS_SOURCE_DIR).filePath("experiments.tsv")))
                                 .split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(rows.size(), 1);
    QStringList keys;
    for (const QString& row : rows.mid(1)) {
        const QStringList cells = row.split('\t');
        ASSERT_EQ(cells.size(), 14) << row.toStdString();
        keys << cells[0];
        QString title = cells[1];
        title.remove(QRegularExpression(", [а-я]\\)$"));
        EXPECT_TRUE(guide.contains("<h2>" + title + "</h2>")) << title.toStdString();
    }
    for (const char* key : {"9a", "9b", "9c"})
        EXPECT_TRUE(keys.contains(key)) << key;
}

// The guide as built: each picture it shows was made beside it, the stroboscopic sections and
// the bifurcation picture among them, and the exponents it quotes were filled in.
TEST(ExperimentsGuide, BuiltGuideShowsThePicturesItRefersTo)
{
    const QDir built(SP_DOCS_BINARY_DIR);
    const QString guide = QString::fromUtf8(read(built.filePath("spravka2.html")));
    ASSERT_FALSE(guide.isEmpty()) << "build the sp-docs target first";
    QStringList sources;
    const QRegularExpression img("<img src=\"([^\"]+)\"");
    for (auto it = img.globalMatch(guide); it.hasNext();)
        sources << it.next().captured(1);
    for (const char* needed : {"figures/chaos_a/poincare.png", "figures/chaos_b/poincare.png",
                               "figures/chaos_c/poincare.png", "figures/bifurcation/bifurcation.png"})
        EXPECT_TRUE(sources.contains(needed)) << needed;
    for (const QString& source : sources) {
        const QByteArray png = read(built.filePath(source));
        EXPECT_TRUE(png.startsWith("\x89PNG")) << source.toStdString();
    }
    EXPECT_FALSE(guide.contains(QRegularExpression("@[A-Za-z0-9_]+@")));
    // Each regime's exponent is written with its sign: the ordered ones negative, the default
    // one positive.
    EXPECT_TRUE(guide.contains(QRegularExpression("λ = −0,\\d+ \\(разброс 0,\\d+\\) — почти ровно −α")));
    EXPECT_TRUE(guide.contains(QRegularExpression("Показатель положителен: λ = 0,\\d*[1-9]")));
}

}  // namespace
