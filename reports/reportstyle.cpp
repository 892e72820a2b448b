#include "reportstyle.h"

#include "fonts.h"

#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace shelvio::reports {

namespace {

struct RoleFace {
    int size;
    bool bold;
};

RoleFace faceOf(FontRole role)
{
    switch (role) {
    case FontRole::ReportTitle:
        return {20, true};
    case FontRole::PageTitle:
        return {11, true};
    case FontRole::Heading:
        return {8, true};
    case FontRole::Group1:
        return {13, true};
    case FontRole::Group2:
        return {10, true};
    case FontRole::Detail:
        return {9, false};
    case FontRole::DetailBold:
        return {10, true};
    case FontRole::Small:
        return {8, false};
    }
    return {9, false};
}

template <size_t... I>
std::array<QFontMetricsF, sizeof...(I)> metricsOf(const std::array<QFont, sizeof...(I)>& fonts,
                                                  std::index_sequence<I...>)
{
    return {QFontMetricsF(fonts[I])...};
}

template <size_t N> std::array<QFont, N> allFonts()
{
    std::array<QFont, N> fonts;
    for (size_t i = 0; i < N; ++i)
        fonts[i] = reportFont(FontRole(i));
    return fonts;
}

QString cleaned(const QString& text)
{
    QString out = text;
    out.remove(u'\r');
    for (QChar& c : out) {
        if (c != u'\n' && (c.category() == QChar::Other_Control || c == u'\t'))
            c = u' ';
    }
    return out;
}

} // namespace

QFont reportFont(FontRole role)
{
    const RoleFace face = faceOf(role);
    QFont font = shelvio::dialogFont(face.size);
    font.setPixelSize(face.size);
    font.setBold(face.bold);
    // Unhinted glyphs keep their widths at every scale, so text measured
    // here fits the same on screen, paper and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPageSize defaultPageSize(const QLocale& locale)
{
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

PageGeometry pageGeometry(const QPageSize& pageSize)
{
    PageGeometry geometry;
    geometry.size = pageSize.size(QPageSize::Point);
    return geometry;
}

TextMeasure::TextMeasure()
    : m_fonts(allFonts<roleCount>())
    , m_metrics(metricsOf(m_fonts, std::make_index_sequence<roleCount>()))
{
}

double TextMeasure::lineHeight(FontRole role) const
{
    return std::ceil(m_metrics[size_t(role)].height() * 1.15);
}

double TextMeasure::width(FontRole role, const QString& text) const
{
    return m_metrics[size_t(role)].horizontalAdvance(text);
}

bool TextMeasure::surelyFits(FontRole role, const QString& text, double width) const
{
    // Kerning and hinting move a line's width by far less than this.
    constexpr double spareShare = 0.03;
    constexpr double spare = 1.0;
    std::vector<double>& advances = m_advances[size_t(role)];
    if (advances.empty())
        advances.assign(latinEnd, -1.0);
    double sum = 0;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        // Control characters, and the soft hyphen, which shaping may hide.
        if (code >= latinEnd || code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0xAD)
            return false;
        double& advance = advances[code];
        if (advance < 0)
            advance = m_metrics[size_t(role)].horizontalAdvance(c);
        sum += advance;
    }
    return sum * (1 + spareShare) + spare <= width;
}

QStringList TextMeasure::wrap(FontRole role, const QString& text, double width) const
{
    if (text.isEmpty())
        return {};
    if (surelyFits(role, text, width))
        return {text};
    const bool plain = !text.contains(u'\n') && !text.contains(u'\t') && !text.contains(u'\r');
    if (plain && this->width(role, text) <= width)
        return {text}; // the common case: shares the text, measures once
    QStringList lines;
    for (const QString& paragraph : cleaned(text).split(u'\n')) {
        if (paragraph.trimmed().isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font(role));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace shelvio::reports
