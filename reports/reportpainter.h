#pragma once

#include "reportpage.h"
#include "result.h"

#include <QString>

class QPainter;
class QPrinter;
class QRectF;

// The one routine that draws a laid-out page, used for the screen, the
// printer and PDF files alike. The painter's transform maps points to the
// device; the page's origin is its top left corner.
namespace shelvio::reports {

// Draws page `pageIndex` of the document, made from its record.
void paintPage(QPainter& painter, const ReportDocument& document, int pageIndex,
               const QString& highlight = QString());

// The ticked or empty box picture, drawn as lines so that it stays crisp at
// any zoom and on paper.
void paintFlagPicture(QPainter& painter, const QRectF& rect, bool ticked);

// Writes every page to a PDF file, each made from its record and painted in
// turn, so that no more than one page's items are held at a time; the error
// says why the file cannot be written.
Status exportPdf(const ReportDocument& document, const QString& path);

// Prints the pages the printer's range asks for (all when it asks for none),
// each scaled to fit the paper. False when the printer cannot be started.
bool printDocument(const ReportDocument& document, QPrinter* printer);

} // namespace shelvio::reports
