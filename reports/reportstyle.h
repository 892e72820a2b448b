#pragma once

#include "reportpage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// Fonts, page margins and text measurement shared by the layout and the
// painter. Everything is in points; fonts are sized in points as pixels of
// that space, so that measuring does not depend on the screen.
namespace shelvio::reports {

QFont reportFont(FontRole role);

// A4, or US Letter where the locale measures in inches.
QPageSize defaultPageSize(const QLocale& locale);

struct PageGeometry {
    QSizeF size;
    double marginLeft = 42;
    double marginRight = 42;
    double marginTop = 36;
    double marginBottom = 30;
    double footerHeight = 22;

    double contentLeft() const { return marginLeft; }
    double contentWidth() const { return size.width() - marginLeft - marginRight; }
    double contentRight() const { return size.width() - marginRight; }
    // Where the flowing content must end: above the page footer.
    double bodyBottom() const { return size.height() - marginBottom - footerHeight; }
    double footerTop() const { return size.height() - marginBottom - footerHeight + 6; }
};
PageGeometry pageGeometry(const QPageSize& pageSize);

// Measures and wraps text in the report fonts, with the metrics built once.
class TextMeasure {
public:
    TextMeasure();
    const QFont& font(FontRole role) const { return m_fonts[size_t(role)]; }
    double lineHeight(FontRole role) const;
    double width(FontRole role, const QString& text) const;
    // Lines of at most `width`; paragraph breaks in the text are kept, tabs
    // and other control characters read as blanks. A word longer than the
    // width is broken inside. Empty text gives no line.
    QStringList wrap(FontRole role, const QString& text, double width) const;

private:
    // Whether the text surely fits in `width`: the sum of its characters'
    // advances, with room to spare for kerning, is within it. Only for Latin
    // letters and signs, whose advance does not depend on their neighbours;
    // any other text is measured whole. Spares the shaping of the many
    // short texts of a long report.
    bool surelyFits(FontRole role, const QString& text, double width) const;

    static constexpr size_t roleCount = size_t(FontRole::Small) + 1;
    static constexpr char16_t latinEnd = 0x250; // before the IPA extensions
    std::array<QFont, roleCount> m_fonts;
    std::array<QFontMetricsF, roleCount> m_metrics;
    // Advances of single characters below latinEnd, measured when first met;
    // negative for not yet measured.
    mutable std::array<std::vector<double>, roleCount> m_advances;
};

// The size of the ticked and empty box pictures, and their look.
inline constexpr double flagPictureSize = 11;

} // namespace shelvio::reports
