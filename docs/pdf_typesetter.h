#pragma once
// Typesets one of the accompanying documents: an HTML source in Qt's rich-text subset
// becomes an A4 PDF with a serif font that has Cyrillic and Greek letters, the document's
// title above every page after the first, and page numbers below. Pictures (<img src>) are
// found relative to the source's folder.

#include <QString>

namespace sp::docs {

// Needs a QGuiApplication. Returns false, with the reason in *error, when the source cannot
// be read, has no title, or the PDF cannot be written; the build then stops instead of
// shipping a missing or empty document.
bool typeset_pdf(const QString& source_path, const QString& pdf_path, QString* error);

}  // namespace sp::docs
