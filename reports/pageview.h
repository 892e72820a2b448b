#pragma once

#include "reportpage.h"

#include <QWidget>

namespace shelvio::reports {

// Shows one page of a laid-out report at a scale, drawn by the report
// painter, on a grey desk with a shadow.
class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    void setDocument(const ReportDocument& document);
    void setPage(int index);
    int page() const { return m_page; }
    // Screen pixels per point of the page.
    void setScale(double pixelsPerPoint);
    double scale() const { return m_scale; }
    void setHighlight(const QString& text);

    QSize sizeHint() const override;
    static constexpr int desk = 12; // grey border around the page

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReportDocument m_document;
    int m_page = 0;
    double m_scale = 1;
    QString m_highlight;
};

} // namespace shelvio::reports
