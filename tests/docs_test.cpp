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

}  // namespace
