#pragma once

// Reads exported charts back: the shapes and texts of an SVG drawing (with
// the transforms of their groups applied), and through poppler's tools
// (pdfinfo, pdftotext, pdftoppm) the pages, words and picture of a PDF.

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QTransform>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct SvgShape {
    QString kind;  // "rect", "ellipse", "circle", "text", "polyline", "path", ...
    QRectF box;    // rect and ellipse: the figure's box in picture pixels
    QPointF at;    // text: where it starts in picture pixels
    QString fill;  // as the element or its nearest group gives it
    QString text;
};

struct SvgDrawing {
    QRectF viewBox;
    std::vector<SvgShape> shapes;
    std::vector<SvgShape> Of(const QString& kind) const {
        std::vector<SvgShape> found;
        for (const SvgShape& s : shapes)
            if (s.kind == kind) found.push_back(s);
        return found;
    }
    // Ellipses and circles alike.
    std::vector<SvgShape> Discs() const {
        std::vector<SvgShape> found = Of(QStringLiteral("ellipse"));
        for (const SvgShape& s : Of(QStringLiteral("circle"))) found.push_back(s);
        return found;
    }
};

inline QTransform SvgTransform(const QString& attribute) {
    static const QRegularExpression matrix(QStringLiteral("matrix\\(([^)]*)\\)"));
    const QRegularExpressionMatch m = matrix.match(attribute);
    if (!m.hasMatch()) return {};
    const QStringList v = m.captured(1).split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    if (v.size() != 6) return {};
    return QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(), v[4].toDouble(),
                      v[5].toDouble());
}

// Empty when the text is not well-formed SVG.
inline SvgDrawing ReadSvg(const QByteArray& bytes, QString* error = nullptr) {
    SvgDrawing drawing;
    QXmlStreamReader xml(bytes);
    std::vector<QTransform> transforms{QTransform()};
    std::vector<QString> fills{QString()};
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            transforms.pop_back();
            fills.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QTransform t = SvgTransform(a.value(QStringLiteral("transform")).toString()) * transforms.back();
        const QString fill =
            a.hasAttribute(QStringLiteral("fill")) ? a.value(QStringLiteral("fill")).toString() : fills.back();
        transforms.push_back(t);
        fills.push_back(fill);
        const QString name = xml.name().toString();
        auto number = [&a](const char* key) { return a.value(QLatin1String(key)).toDouble(); };
        if (name == QLatin1String("svg")) {
            const QStringList v =
                a.value(QStringLiteral("viewBox")).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (v.size() == 4)
                drawing.viewBox = QRectF(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
            continue;
        }
        SvgShape shape;
        shape.kind = name;
        shape.fill = fill;
        if (name == QLatin1String("rect")) {
            shape.box = t.mapRect(QRectF(number("x"), number("y"), number("width"), number("height")));
        } else if (name == QLatin1String("ellipse") || name == QLatin1String("circle")) {
            const double rx = name == QLatin1String("circle") ? number("r") : number("rx");
            const double ry = name == QLatin1String("circle") ? number("r") : number("ry");
            shape.box = t.mapRect(QRectF(number("cx") - rx, number("cy") - ry, 2 * rx, 2 * ry));
        } else if (name == QLatin1String("text")) {
            shape.at = t.map(QPointF(number("x"), number("y")));
            shape.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            transforms.pop_back();
            fills.pop_back();
        } else if (name == QLatin1String("g") || name == QLatin1String("defs") || name == QLatin1String("title") ||
                   name == QLatin1String("desc")) {
            continue;
        }
        drawing.shapes.push_back(shape);
    }
    if (xml.hasError()) {
        if (error) *error = xml.errorString();
        return {};
    }
    return drawing;
}

inline std::string ToolOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

inline bool PopplerAvailable() {
    return std::system("pdftotext -v >/dev/null 2>&1") == 0 && std::system("pdftoppm -v >/dev/null 2>&1") == 0;
}

struct PdfWord {
    QString text;
    QRectF box;  // points, from the page's top left
};

inline std::vector<PdfWord> PdfWords(const std::string& path) {
    std::vector<PdfWord> words;
    const QString html = QString::fromStdString(ToolOutput("pdftotext -bbox '" + path + "' -"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// The first page as a picture, dpi dots to the inch.
inline QImage PdfPicture(const std::string& path, int dpi, const std::string& scratch) {
    ToolOutput("pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" + path + "' '" + scratch + "'");
    return QImage(QString::fromStdString(scratch + ".png"));
}
