#pragma once
// Independent read-back of written PDF files with poppler's tools: the text pdftotext extracts (in its
// layout mode), the page count and size pdfinfo reports, and the images pdfimages lists.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace PdfText {

// Standard output of a poppler tool run on `path`; "" when it fails.
inline QString run(const QString &tool, QStringList arguments)
{
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page's text; typographic ligatures the fonts drew (the "fi" of "fit") read as their letters.
inline QString text(const QString &path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
        .normalized(QString::NormalizationForm_KC);
}

// pdfinfo's report ("Pages:          1", "Page size:      595 x 842 pts (A4)", ...).
inline QString info(const QString &path)
{
    return run(QStringLiteral("pdfinfo"), {path});
}

// The images in the file, one line each after pdfimages' two heading lines.
inline QStringList images(const QString &path)
{
    QStringList lines =
        run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.mid(2);
}

} // namespace PdfText
