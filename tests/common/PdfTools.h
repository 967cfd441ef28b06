#pragma once
#include <QImage>
#include <QString>
#include <QStringList>

// Reads back the PDF files the program writes, with poppler's tools.
namespace PdfTools {
// The text of every page, laid out as on the page (pdftotext -layout -enc UTF-8);
// empty when the tool fails.
QString Text(const QString &pdf);
// The fields pdfinfo prints ("Pages", "Title", "Creator", ...).
QString Info(const QString &pdf, const QString &field);
int PageCount(const QString &pdf);
// Page n (from 1) as an image at the resolution given (pdftoppm -png).
QImage Page(const QString &pdf, int n, int dpi = 50);
}
