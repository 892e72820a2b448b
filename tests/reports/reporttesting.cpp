#include "reporttesting.h"

#include "reportwindow.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace shelvio::reports;

namespace testing {

LayoutOptions fixedLayoutOptions()
{
    return {QPageSize(QPageSize::A4), QLocale(QLocale::English, QLocale::UnitedStates), QDate(2024, 3, 5)};
}

ReportDocument runReport(const QString& definitionName, const QString& catalogue)
{
    const ReportDefinition* definition = findDefinition(definitionName);
    if (!definition)
        qFatal("no definition %s", qPrintable(definitionName));
    auto document = shelvio::reports::runReport(*definition, catalogue, fixedLayoutOptions());
    if (!document)
        qFatal("report %s failed: %s", qPrintable(definitionName), qPrintable(document.error().text()));
    return *std::move(document);
}

QStringList shown(const ScriptedPrompter& prompter)
{
    QStringList messages;
    for (const ScriptedPrompter::Prompt& prompt : prompter.prompts())
        messages << prompt.title + QStringLiteral(": ") + prompt.text;
    return messages;
}

std::vector<ReportPage> allPages(const ReportDocument& document)
{
    std::vector<ReportPage> pages;
    for (int page = 0; page < document.pageCount(); ++page)
        pages.push_back(document.page(page));
    return pages;
}

QStringList itemLines(const ReportPage& page)
{
    QStringList lines;
    for (const PageItem& item : page.items) {
        lines << QStringLiteral("%1 %2 %3 %4,%5 %6x%7 %8")
                     .arg(int(item.kind))
                     .arg(int(item.font))
                     .arg(int(item.align))
                     .arg(item.rect.left())
                     .arg(item.rect.top())
                     .arg(item.rect.width())
                     .arg(item.rect.height())
                     .arg(item.text);
    }
    return lines;
}

QStringList allTexts(const ReportDocument& document)
{
    QStringList texts;
    for (const ReportPage& page : testing::allPages(document))
        texts << page.texts();
    return texts;
}

QStringList textsOf(const ReportDocument& document, FontRole role)
{
    QStringList texts;
    for (const ReportPage& page : testing::allPages(document)) {
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text && item.font == role)
                texts << item.text;
        }
    }
    return texts;
}

DialogWatch::DialogWatch()
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &DialogWatch::closeStrayDialog);
    m_timer.start();
}

void DialogWatch::closeStrayDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<ReportWindow*>(modal))
        return;
    closed << (modal->windowTitle().isEmpty() ? QString::fromLatin1(modal->metaObject()->className())
                                              : modal->windowTitle());
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

int pdfPageCount(const QString& path)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    const auto match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& path)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.waitForFinished(30000) || text.exitCode() != 0)
        return {};
    return QString::fromUtf8(text.readAll());
}

} // namespace testing
