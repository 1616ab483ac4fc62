#include "work/WorkFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

// Far beyond any real work (a million points take about 40 MB): a larger file is refused before
// it is read, rather than filling the memory.
constexpr qint64 kLargestFile = qint64{512} << 20;
// JSON numbers are doubles: integers beyond 2^53 would not read back exactly.
constexpr double kLargestExactInteger = 9007199254740992.0;
// A negative zero is written as this string: JSON readers (Qt's among them) read "-0" as the
// integer zero, and the export prints the sign.
constexpr const char* kNegativeZero = "-0";
const char* const kReferenceNames[] = {"origin", "xAxis", "yAxis"};

// ---- Writing ----------------------------------------------------------------------------------

QJsonValue NumberValue(double value) {
    if (value == 0.0 && std::signbit(value))
        return QString(kNegativeZero);
    return value;
}

QJsonObject ReferenceObject(const WorkState::Reference& reference) {
    return QJsonObject{{"pixel", QJsonArray{reference.x, reference.y}},
                       {"value", QJsonArray{NumberValue(reference.valueX), NumberValue(reference.valueY)}}};
}

QString ColourText(QRgb colour) {
    return QStringLiteral("#%1").arg(colour & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// Relative to the work file's folder when the picture lies in it or below; absolute otherwise.
QString StoredPicturePath(const QString& picture, const QString& workFilePath) {
    if (picture.isEmpty())
        return picture;
    const QDir folder = QFileInfo(workFilePath).absoluteDir();
    const QString relative = folder.relativeFilePath(picture);
    if (relative != ".." && !relative.startsWith("../") && !QDir::isAbsolutePath(relative))
        return relative;
    return QDir::cleanPath(QFileInfo(picture).absoluteFilePath());
}

QJsonObject PictureObject(const WorkState& state, const QString& workFilePath) {
    QJsonObject picture{{"path", StoredPicturePath(state.picturePath, workFilePath)},
                        {"size", static_cast<double>(state.pictureIdentity.size)},
                        {"sha256", QString::fromLatin1(state.pictureIdentity.sha256)}};
    if (state.pdfPage) {
        picture.insert("page", state.pdfPage->page);
        picture.insert("dpi", state.pdfPage->dpi);
    }
    return picture;
}

QJsonValue SelectionValue(const WorkState& state) {
    if (state.selectedSeries == WorkState::kNoSelection)
        return QJsonValue::Null;
    if (state.selectedSeries == WorkState::kReferenceSelected)
        return QJsonObject{{"reference", kReferenceNames[state.selectedIndex]}};
    return QJsonObject{{"series", state.selectedSeries}, {"point", state.selectedIndex}};
}

// ---- Reading ----------------------------------------------------------------------------------

// Reads typed fields and remembers the first problem with where it was, so the caller can read a
// whole object and look once at the end.
class FieldReader {
public:
    bool Failed() const { return m_error.kind != WorkFile::Error::Kind::None; }
    const WorkFile::Error& Error() const { return m_error; }

    void Fail(WorkFile::Error::Kind kind, const QString& field, const QString& detail) {
        if (Failed())
            return;
        m_error.kind = kind;
        m_error.field = field;
        m_error.detail = detail;
    }
    QJsonObject Object(const QJsonValue& value, const QString& field) {
        if (!value.isObject())
            Fail(WorkFile::Error::Kind::WrongType, field, "expected an object");
        return value.toObject();
    }
    QJsonArray Array(const QJsonValue& value, const QString& field) {
        if (!value.isArray())
            Fail(WorkFile::Error::Kind::WrongType, field, "expected an array");
        return value.toArray();
    }
    bool Bool(const QJsonValue& value, const QString& field) {
        if (!value.isBool())
            Fail(WorkFile::Error::Kind::WrongType, field, "expected true or false");
        return value.toBool();
    }
    QString String(const QJsonValue& value, const QString& field) {
        if (!value.isString())
            Fail(WorkFile::Error::Kind::WrongType, field, "expected a string");
        return value.toString();
    }
    // A finite number, or the string for a negative zero.
    double Number(const QJsonValue& value, const QString& field) {
        if (value.isString() && value.toString() == kNegativeZero)
            return -0.0;
        if (!value.isDouble()) {
            Fail(WorkFile::Error::Kind::WrongType, field, "expected a number");
            return 0.0;
        }
        return value.toDouble();
    }
    double NumberAtLeast(const QJsonValue& value, const QString& field, double least, bool leastAllowed) {
        const double number = Number(value, field);
        if (!Failed() && (number < least || (!leastAllowed && number == least)))
            Fail(WorkFile::Error::Kind::OutOfRange, field,
                 QStringLiteral("must be %1 %2").arg(leastAllowed ? "at least" : "more than").arg(least));
        return number;
    }
    qint64 Integer(const QJsonValue& value, const QString& field, double least, double most) {
        if (!value.isDouble() || value.toDouble() != std::trunc(value.toDouble())) {
            Fail(WorkFile::Error::Kind::WrongType, field, "expected a whole number");
            return 0;
        }
        const double number = value.toDouble();
        if (number < least || number > most) {
            Fail(WorkFile::Error::Kind::OutOfRange, field,
                 QStringLiteral("must lie between %1 and %2").arg(least, 0, 'f', 0).arg(most, 0, 'f', 0));
            return 0;
        }
        return static_cast<qint64>(number);
    }
    int Int(const QJsonValue& value, const QString& field) {
        return static_cast<int>(Integer(value, field, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
    }
    // [x, y] of whole numbers.
    std::pair<int, int> Pixel(const QJsonValue& value, const QString& field) {
        if (!value.isArray() || value.toArray().size() != 2) {
            Fail(WorkFile::Error::Kind::WrongType, field, "expected [x, y]");
            return {0, 0};
        }
        const QJsonArray pair = value.toArray();
        const int x = Int(pair[0], field + "[0]");
        const int y = Int(pair[1], field + "[1]");
        return {x, y};
    }
    QRgb Colour(const QJsonValue& value, const QString& field) {
        const QString text = String(value, field);
        bool ok = text.size() == 7 && text.startsWith('#');
        const uint colour = ok ? text.mid(1).toUInt(&ok, 16) : 0u;
        if (!Failed() && !ok)
            Fail(WorkFile::Error::Kind::OutOfRange, field, "expected a colour as \"#rrggbb\"");
        return colour;
    }

private:
    WorkFile::Error m_error;
};

// A PDF's page and resolution come together or not at all: a page without its resolution would
// be rendered at some other one, and the points would not lie where they were picked.
void ReadPdfPage(FieldReader& reader, const QJsonObject& picture, WorkState& state) {
    if (!picture.contains("page") && !picture.contains("dpi"))
        return;
    PdfPageChoice choice;
    choice.page = static_cast<int>(reader.Integer(picture.value("page"), "picture.page", 1, std::numeric_limits<int>::max()));
    choice.dpi = static_cast<int>(reader.Integer(picture.value("dpi"), "picture.dpi", kLowestPdfDpi, kHighestPdfDpi));
    state.pdfPage = choice;
}

void ReadPicture(FieldReader& reader, const QJsonObject& object, const QString& workFilePath, WorkState& state) {
    const QString path = reader.String(object.value("path"), "picture.path");
    if (!reader.Failed() && path.isEmpty())
        reader.Fail(WorkFile::Error::Kind::OutOfRange, "picture.path", "must name the picture");
    state.picturePath = QDir::cleanPath(QFileInfo(workFilePath).absoluteDir().absoluteFilePath(path));
    state.pictureIdentity.size = reader.Integer(object.value("size"), "picture.size", 0, kLargestExactInteger);
    const QString hash = reader.String(object.value("sha256"), "picture.sha256");
    const bool hex = hash.size() == 64 &&
                     std::all_of(hash.begin(), hash.end(), [](QChar c) { return QStringLiteral("0123456789abcdef").contains(c); });
    if (!reader.Failed() && !hex)
        reader.Fail(WorkFile::Error::Kind::OutOfRange, "picture.sha256", "expected 64 lower-case hex digits");
    state.pictureIdentity.sha256 = hash.toLatin1();
    ReadPdfPage(reader, object, state);
}

WorkState::Reference ReadReference(FieldReader& reader, const QJsonValue& value, const QString& field) {
    const QJsonObject object = reader.Object(value, field);
    WorkState::Reference reference;
    std::tie(reference.x, reference.y) = reader.Pixel(object.value("pixel"), field + ".pixel");
    const QJsonValue values = object.value("value");
    if (!values.isArray() || values.toArray().size() != 2) {
        reader.Fail(WorkFile::Error::Kind::WrongType, field + ".value", "expected [x value, y value]");
        return reference;
    }
    reference.valueX = reader.Number(values.toArray().at(0), field + ".value[0]");
    reference.valueY = reader.Number(values.toArray().at(1), field + ".value[1]");
    return reference;
}

void ReadCalibration(FieldReader& reader, const QJsonObject& object, WorkState& state) {
    state.origin = ReadReference(reader, object.value("origin"), "calibration.origin");
    state.xAxis = ReadReference(reader, object.value("xAxis"), "calibration.xAxis");
    state.yAxis = ReadReference(reader, object.value("yAxis"), "calibration.yAxis");
    state.logX = reader.Bool(object.value("logX"), "calibration.logX");
    state.logY = reader.Bool(object.value("logY"), "calibration.logY");
}

void ReadSeries(FieldReader& reader, const QJsonArray& all, WorkState& state) {
    if (all.isEmpty()) {
        reader.Fail(WorkFile::Error::Kind::OutOfRange, "series", "must hold at least one series");
        return;
    }
    state.series.assign(static_cast<std::size_t>(all.size()), WorkState::Series());
    for (qsizetype s = 0; s < all.size() && !reader.Failed(); ++s) {
        const QString field = QStringLiteral("series[%1]").arg(s);
        const QJsonArray points = reader.Array(all[s], field);
        WorkState::Series& series = state.series[static_cast<std::size_t>(s)];
        series.reserve(static_cast<std::size_t>(points.size()));
        for (qsizetype i = 0; i < points.size() && !reader.Failed(); ++i)
            series.push_back(reader.Pixel(points[i], QStringLiteral("%1[%2]").arg(field).arg(i)));
    }
}

void ReadSelection(FieldReader& reader, const QJsonValue& value, WorkState& state) {
    if (value.isNull() || value.isUndefined())
        return;
    const QJsonObject object = reader.Object(value, "selection");
    if (object.contains("reference")) {
        const QString name = reader.String(object.value("reference"), "selection.reference");
        const auto found = std::find(std::begin(kReferenceNames), std::end(kReferenceNames), name);
        if (!reader.Failed() && found == std::end(kReferenceNames))
            reader.Fail(WorkFile::Error::Kind::OutOfRange, "selection.reference",
                        "expected \"origin\", \"xAxis\" or \"yAxis\"");
        state.selectedSeries = WorkState::kReferenceSelected;
        state.selectedIndex = static_cast<int>(found - std::begin(kReferenceNames));
        return;
    }
    state.selectedSeries = reader.Int(object.value("series"), "selection.series");
    state.selectedIndex = reader.Int(object.value("point"), "selection.point");
    if (!reader.Failed() && !state.IsConsistent())
        reader.Fail(WorkFile::Error::Kind::OutOfRange, "selection", "names no point of the series");
}

void ReadExtraction(FieldReader& reader, const QJsonValue& value, WorkState& state) {
    if (value.isUndefined())
        return;
    const QJsonObject object = reader.Object(value, "extraction");
    WorkState::Extraction& extraction = state.extraction;
    extraction.colourTolerance = reader.NumberAtLeast(object.value("colourTolerance"), "extraction.colourTolerance", 0, true);
    extraction.pointSpacing = reader.NumberAtLeast(object.value("pointSpacing"), "extraction.pointSpacing", 0, false);
    extraction.largestGap = reader.NumberAtLeast(object.value("largestGap"), "extraction.largestGap", 0, true);
    extraction.insideReferenceBox = reader.Bool(object.value("insideReferenceBox"), "extraction.insideReferenceBox");
}

void ReadColourTraces(FieldReader& reader, const QJsonValue& value, WorkState& state) {
    if (value.isUndefined())
        return;
    const QJsonArray traces = reader.Array(value, "traces");
    for (qsizetype t = 0; t < traces.size() && !reader.Failed(); ++t) {
        const QString field = QStringLiteral("traces[%1]").arg(t);
        const QJsonObject object = reader.Object(traces[t], field);
        WorkState::ColourTrace trace;
        trace.colour = reader.Colour(object.value("colour"), field + ".colour");
        trace.colourTolerance = reader.NumberAtLeast(object.value("colourTolerance"), field + ".colourTolerance", 0, true);
        trace.pointSpacing = reader.NumberAtLeast(object.value("pointSpacing"), field + ".pointSpacing", 0, false);
        trace.largestGap = reader.NumberAtLeast(object.value("largestGap"), field + ".largestGap", 0, true);
        state.colourTraces.push_back(trace);
    }
}

// The format's name and version come first: a newer version is named as such even when the rest
// of its fields mean nothing to this one.
bool ReadHeader(FieldReader& reader, const QJsonObject& top, WorkFile::Error& newer) {
    if (top.value("format").toString() != WorkFile::kFormatName) {
        reader.Fail(WorkFile::Error::Kind::NotWorkFile, "format",
                    QStringLiteral("expected \"%1\"").arg(WorkFile::kFormatName));
        return false;
    }
    const qint64 version = reader.Integer(top.value("version"), "version", 1, std::numeric_limits<int>::max());
    if (reader.Failed())
        return false;
    if (version > WorkFile::kVersion) {
        newer.kind = WorkFile::Error::Kind::NewerVersion;
        newer.field = "version";
        newer.version = static_cast<int>(version);
        newer.detail = QStringLiteral("written by a newer version (format version %1; this program reads up to %2)")
                           .arg(version)
                           .arg(WorkFile::kVersion);
        return false;
    }
    return true;
}

} // namespace

QString WorkFile::Error::Describe() const {
    if (field.isEmpty())
        return detail;
    return field + ": " + detail;
}

QByteArray WorkFile::ToJson(const WorkState& state, const QString& workFilePath) {
    QJsonArray series;
    for (const WorkState::Series& points : state.series) {
        QJsonArray pixels;
        for (const auto& [x, y] : points)
            pixels.append(QJsonArray{x, y});
        series.append(pixels);
    }
    QJsonArray traces;
    for (const WorkState::ColourTrace& trace : state.colourTraces) {
        traces.append(QJsonObject{{"colour", ColourText(trace.colour)},
                                  {"colourTolerance", trace.colourTolerance},
                                  {"pointSpacing", trace.pointSpacing},
                                  {"largestGap", trace.largestGap}});
    }
    const WorkState::Extraction& extraction = state.extraction;
    const QJsonObject top{
        {"format", kFormatName},
        {"version", kVersion},
        {"picture", PictureObject(state, workFilePath)},
        {"calibration", QJsonObject{{"origin", ReferenceObject(state.origin)},
                                    {"xAxis", ReferenceObject(state.xAxis)},
                                    {"yAxis", ReferenceObject(state.yAxis)},
                                    {"logX", state.logX},
                                    {"logY", state.logY}}},
        {"series", series},
        {"currentSeries", state.currentSeries},
        {"selection", SelectionValue(state)},
        {"measure", QJsonObject{{"length", state.measureLength}, {"area", state.measureArea}}},
        {"extraction", QJsonObject{{"colourTolerance", extraction.colourTolerance},
                                   {"pointSpacing", extraction.pointSpacing},
                                   {"largestGap", extraction.largestGap},
                                   {"insideReferenceBox", extraction.insideReferenceBox}}},
        {"traces", traces},
    };
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

WorkFile::ReadResult WorkFile::FromJson(const QByteArray& text, const QString& workFilePath) {
    ReadResult result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error.kind = Error::Kind::Damaged;
        result.error.detail =
            QStringLiteral("not valid JSON at byte %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return result;
    }
    if (!document.isObject()) {
        result.error.kind = Error::Kind::NotWorkFile;
        result.error.detail = "not a work file: the JSON is not an object";
        return result;
    }
    const QJsonObject top = document.object();
    FieldReader reader;
    Error newer;
    if (!ReadHeader(reader, top, newer)) {
        result.error = newer.kind != Error::Kind::None ? newer : reader.Error();
        return result;
    }
    WorkState state;
    ReadPicture(reader, reader.Object(top.value("picture"), "picture"), workFilePath, state);
    ReadCalibration(reader, reader.Object(top.value("calibration"), "calibration"), state);
    ReadSeries(reader, reader.Array(top.value("series"), "series"), state);
    state.currentSeries = reader.Int(top.value("currentSeries"), "currentSeries");
    if (!reader.Failed() && state.currentSeries != static_cast<int>(state.series.size()) - 1)
        reader.Fail(Error::Kind::OutOfRange, "currentSeries", "must be the last series");
    ReadSelection(reader, top.value("selection"), state);
    const QJsonObject measure = reader.Object(top.value("measure"), "measure");
    state.measureLength = reader.Bool(measure.value("length"), "measure.length");
    state.measureArea = reader.Bool(measure.value("area"), "measure.area");
    ReadExtraction(reader, top.value("extraction"), state);
    ReadColourTraces(reader, top.value("traces"), state);
    if (reader.Failed()) {
        result.error = reader.Error();
        return result;
    }
    result.state = std::move(state);
    return result;
}

WorkFile::ReadResult WorkFile::Read(const QString& path) {
    ReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error.kind = Error::Kind::Unreadable;
        result.error.detail = file.errorString();
        return result;
    }
    if (file.size() > kLargestFile) {
        result.error.kind = Error::Kind::Damaged;
        result.error.detail = QStringLiteral("larger than any work file (%1 bytes)").arg(file.size());
        return result;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error.kind = Error::Kind::Unreadable;
        result.error.detail = file.errorString();
        return result;
    }
    return FromJson(text, path);
}

WorkFile::Error WorkFile::Write(const WorkState& state, const QString& path) {
    Error error;
    QSaveFile file(path);
    const QByteArray text = ToJson(state, path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error.kind = Error::Kind::Unwritable;
        error.detail = file.errorString();
    }
    return error;
}
