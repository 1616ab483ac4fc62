#include "doc/RecoveredWork.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/core/FileIdentity.h"
#include "work/DocumentWork.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kHeader = "TallyscopeJournal 1";

std::uint64_t Checksum(const char* data, std::size_t size) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return hash;
}

void AppendNumber(std::string& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// A double as its 64 bits: it reads back the same value, the same NaN and the same signed zero.
void AppendBits(std::string& out, double value) {
    char digits[24];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, std::bit_cast<std::uint64_t>(value), 16);
    out.append(digits, result.ptr);
}

void AppendReference(std::string& out, const char* name, const RecoveredWork::Reference& reference) {
    out += name;
    out += ' ';
    AppendNumber(out, reference.x);
    out += ' ';
    AppendNumber(out, reference.y);
    out += ' ';
    AppendBits(out, reference.valueX);
    out += ' ';
    AppendBits(out, reference.valueY);
    out += '\n';
}

// Reads the fields of one line, space-separated, in order; every read must succeed and use up
// the line for the line to count.
class LineReader {
public:
    LineReader(const char* begin, const char* end) : m_at(begin), m_end(end) {}

    bool Word(const char* expected) {
        const std::size_t length = std::char_traits<char>::length(expected);
        if (static_cast<std::size_t>(m_end - m_at) < length ||
            std::char_traits<char>::compare(m_at, expected, length) != 0)
            return false;
        m_at += length;
        return Separator();
    }
    template <typename Number> bool Read(Number& value, int base = 10) {
        const auto result = std::from_chars(m_at, m_end, value, base);
        if (result.ec != std::errc() || result.ptr == m_at)
            return false;
        m_at = result.ptr;
        return Separator();
    }
    bool Bits(double& value) {
        std::uint64_t bits = 0;
        if (!Read(bits, 16))
            return false;
        value = std::bit_cast<double>(bits);
        return true;
    }
    bool Rest(QByteArray& value) {
        value = QByteArray(m_at, static_cast<qsizetype>(m_end - m_at));
        m_at = m_end;
        return true;
    }
    bool Done() const { return m_at == m_end; }

private:
    bool Separator() {
        if (m_at == m_end)
            return true;
        if (*m_at != ' ')
            return false;
        ++m_at;
        return true;
    }
    const char* m_at;
    const char* m_end;
};

// The lines of a journal, read from a device a block at a time, never more than the limit in
// all and never a line longer than a journal line can be. Every line but the closing "end" line
// goes into the checksum as it is handed out.
class Lines {
public:
    Lines(QIODevice& device, qint64 limit) : m_device(device), m_limit(limit) {}

    bool Next(LineReader& line) {
        AddToChecksum();
        for (;;) {
            const char* begin = m_buffer.constData() + m_at;
            const auto available = static_cast<std::size_t>(m_buffer.size() - m_at);
            if (const void* newline = std::memchr(begin, '\n', available)) {
                const char* end = static_cast<const char*>(newline);
                line = LineReader(begin, end);
                m_pending = QByteArray::fromRawData(begin, static_cast<qsizetype>(end - begin + 1));
                m_at += end - begin + 1;
                return true;
            }
            if (static_cast<qint64>(available) > kLongestLine || !Fill())
                return false;
        }
    }
    // Whether everything was read, with nothing after the last line handed out.
    bool AtEnd() {
        if (m_at != m_buffer.size())
            return false;
        return m_read >= m_limit ? m_device.atEnd() : !Fill();
    }
    // The checksum of every line handed out so far.
    std::uint64_t Checksum() {
        AddToChecksum();
        return m_checksum;
    }

private:
    // A picture path of a few thousand characters, in base64, is the longest line a journal holds.
    static constexpr qint64 kLongestLine = 64 * 1024;
    static constexpr qint64 kBlock = 64 * 1024;

    void AddToChecksum() {
        for (const char c : m_pending)
            m_checksum = (m_checksum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        m_pending.clear();
    }
    bool Fill() {
        if (m_read >= m_limit)
            return false;
        m_pending.clear(); // it points into the buffer about to change
        m_buffer.remove(0, m_at);
        m_at = 0;
        const qint64 wanted = std::min(kBlock, m_limit - m_read);
        const qsizetype kept = m_buffer.size();
        m_buffer.resize(kept + static_cast<qsizetype>(wanted));
        const qint64 got = m_device.read(m_buffer.data() + kept, wanted);
        m_buffer.resize(kept + static_cast<qsizetype>(std::max<qint64>(got, 0)));
        if (got <= 0)
            return false;
        m_read += got;
        return true;
    }

    QIODevice& m_device;
    qint64 m_limit;
    qint64 m_read = 0;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    QByteArray m_pending; // the line last handed out, not yet in the checksum
    std::uint64_t m_checksum = 14695981039346656037ull; // FNV-1a, as Checksum()
};

bool ReadReference(Lines& lines, const char* name, RecoveredWork::Reference& reference) {
    LineReader line(nullptr, nullptr);
    return lines.Next(line) && line.Word(name) && line.Read(reference.x) && line.Read(reference.y) &&
           line.Bits(reference.valueX) && line.Bits(reference.valueY) && line.Done();
}

template <typename... Numbers> bool ReadLine(Lines& lines, const char* name, Numbers&... numbers) {
    LineReader line(nullptr, nullptr);
    return lines.Next(line) && line.Word(name) && (line.Read(numbers) && ...) && line.Done();
}

// The line of a PDF page, which the journal of a picture file does not have, stands before the
// time of writing when it is there.
bool ReadPdfPageAndWritten(Lines& lines, RecoveredWork& work) {
    LineReader line(nullptr, nullptr);
    if (!lines.Next(line))
        return false;
    if (!line.Word("picture-page"))
        return line.Word("written") && line.Read(work.writtenMs) && line.Done();
    PdfPageChoice page;
    if (!line.Read(page.page) || !line.Read(page.dpi) || !line.Done())
        return false;
    work.pdfPage = page;
    return ReadLine(lines, "written", work.writtenMs);
}

} // namespace

RecoveredWork::PictureStamp RecoveredWork::PictureStamp::Of(const QString& path) {
    PictureStamp stamp;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return stamp;
    const FileIdentity identity = FileIdentity::OfDescriptor(file.handle());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const qint64 size = identity.size;
    const qint64 half = kWholeHashLimit / 2;
    const bool whole = size <= kWholeHashLimit;
    const QByteArray head = file.read(whole ? size : half);
    hash.addData(head);
    if (!whole) {
        if (!file.seek(size - half))
            return stamp;
        hash.addData(file.read(half));
    }
    if (file.error() != QFileDevice::NoError)
        return stamp;
    stamp.size = size;
    stamp.modifiedNs = identity.modifiedNs;
    stamp.hash = hash.result().toHex();
    return stamp;
}

RecoveredWork RecoveredWork::Capture(const CTallyscopeDoc& doc) {
    RecoveredWork work;
    static_cast<WorkState&>(work) = DocumentWork::Capture(doc);
    work.writtenMs = QDateTime::currentMSecsSinceEpoch();
    return work;
}

QByteArray RecoveredWork::WorkText() const {
    std::string out;
    out.reserve(256 + 16 * static_cast<std::size_t>(PointCount()));
    AppendReference(out, "origin", origin);
    AppendReference(out, "x-axis", xAxis);
    AppendReference(out, "y-axis", yAxis);
    out += logX ? "log 1 " : "log 0 ";
    out += logY ? "1\n" : "0\n";
    out += measureLength ? "measure 1 " : "measure 0 ";
    out += measureArea ? "1\n" : "0\n";
    out += "selection ";
    AppendNumber(out, selectedSeries);
    out += ' ';
    AppendNumber(out, selectedIndex);
    out += "\nseries ";
    AppendNumber(out, static_cast<long long>(series.size()));
    out += '\n';
    for (const Series& points : series) {
        out += "points ";
        AppendNumber(out, static_cast<long long>(points.size()));
        out += '\n';
        for (const auto& [x, y] : points) {
            AppendNumber(out, x);
            out += ' ';
            AppendNumber(out, y);
            out += '\n';
        }
    }
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QByteArray RecoveredWork::Serialise() const {
    QByteArray text = kHeader;
    text += "\npicture " + picturePath.toUtf8().toBase64();
    text += "\npicture-size " + QByteArray::number(picture.size);
    text += "\npicture-modified " + QByteArray::number(picture.modifiedNs);
    text += "\npicture-hash " + (picture.hash.isEmpty() ? QByteArray("-") : picture.hash);
    if (pdfPage)
        text += "\npicture-page " + QByteArray::number(pdfPage->page) + " " + QByteArray::number(pdfPage->dpi);
    text += "\nwritten " + QByteArray::number(writtenMs) + "\n";
    text += WorkText();
    text +=
        "end " +
        QByteArray::number(
            static_cast<qulonglong>(Checksum(text.constData(), static_cast<std::size_t>(text.size()))), 16) +
        "\n";
    return text;
}

std::optional<RecoveredWork> RecoveredWork::Parse(const QByteArray& text) {
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    Reading reading = Read(buffer);
    if (!reading.whole)
        return std::nullopt;
    return std::move(reading.work);
}

std::optional<RecoveredWork> RecoveredWork::ReadFile(const QString& path) {
    Reading reading = Examine(path);
    if (!reading.whole)
        return std::nullopt;
    return std::move(reading.work);
}

RecoveredWork::Reading RecoveredWork::Examine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Reading();
    return Read(file);
}

// The journal is read in order, each part put into the work as soon as it has been read whole,
// so that a journal damaged part of the way still gives what came before the damage.
RecoveredWork::Reading RecoveredWork::Read(QIODevice& device, qint64 limit) {
    Reading reading;
    RecoveredWork& work = reading.work;
    Lines lines(device, limit);
    LineReader line(nullptr, nullptr);
    QByteArray path;
    QByteArray hash;
    if (!lines.Next(line) || !line.Word("TallyscopeJournal") || !line.Word("1") || !line.Done() ||
        !lines.Next(line) || !line.Word("picture") || !line.Rest(path))
        return reading;
    work.picturePath = QString::fromUtf8(QByteArray::fromBase64(path));
    reading.pictureKnown = !work.picturePath.isEmpty();
    if (!ReadLine(lines, "picture-size", work.picture.size) ||
        !ReadLine(lines, "picture-modified", work.picture.modifiedNs) || !lines.Next(line) ||
        !line.Word("picture-hash") || !line.Rest(hash) || !ReadPdfPageAndWritten(lines, work))
        return reading.Damaged();
    work.picture.hash = hash == "-" ? QByteArray() : hash;
    Reference origin, xAxis, yAxis;
    if (!ReadReference(lines, "origin", origin) || !ReadReference(lines, "x-axis", xAxis) ||
        !ReadReference(lines, "y-axis", yAxis))
        return reading.Damaged();
    work.origin = origin;
    work.xAxis = xAxis;
    work.yAxis = yAxis;
    reading.calibrationRead = true;
    int logX = 0, logY = 0, length = 0, area = 0;
    int selectedSeries = -2, selectedIndex = 0;
    long long seriesCount = 0;
    if (!ReadLine(lines, "log", logX, logY))
        return reading.Damaged();
    work.logX = logX != 0;
    work.logY = logY != 0;
    if (!ReadLine(lines, "measure", length, area))
        return reading.Damaged();
    work.measureLength = length != 0;
    work.measureArea = area != 0;
    if (!ReadLine(lines, "selection", selectedSeries, selectedIndex) || !ReadLine(lines, "series", seriesCount) ||
        seriesCount < 1)
        return reading.Damaged();
    // The series are added as they are read: a count that no file of this size can hold costs
    // nothing before it turns out to be wrong.
    work.series.clear();
    for (long long s = 0; s < seriesCount; ++s) {
        long long count = 0;
        if (!ReadLine(lines, "points", count) || count < 0)
            return reading.Damaged();
        Series& points = work.series.emplace_back();
        for (long long i = 0; i < count; ++i) {
            std::pair<int, int> point;
            if (!lines.Next(line) || !line.Read(point.first) || !line.Read(point.second) || !line.Done())
                return reading.Damaged();
            points.push_back(point);
        }
    }
    work.selectedSeries = selectedSeries;
    work.selectedIndex = selectedIndex;
    // The last line holds the checksum of everything before it, and nothing may follow it.
    const std::uint64_t expected = lines.Checksum();
    std::uint64_t checksum = 0;
    if (!lines.Next(line) || !line.Word("end") || !line.Read(checksum, 16) || !line.Done() ||
        checksum != expected || !lines.AtEnd() || !work.SelectionFits())
        return reading.Damaged();
    work.currentSeries = static_cast<int>(work.series.size()) - 1;
    reading.whole = true;
    return reading;
}

RecoveredWork::Reading& RecoveredWork::Reading::Damaged() {
    if (work.series.empty())
        work.series.emplace_back();
    while (work.series.size() > 1 && work.series.back().empty())
        work.series.pop_back();
    work.currentSeries = static_cast<int>(work.series.size()) - 1;
    if (!work.SelectionFits()) {
        work.selectedSeries = -2;
        work.selectedIndex = 0;
    }
    return *this;
}

bool RecoveredWork::Reading::HasWork() const {
    return calibrationRead || work.PointCount() > 0;
}

RecoveredWork::PictureState RecoveredWork::CheckPicture() const {
    const PictureStamp now = PictureStamp::Of(picturePath);
    if (now.size < 0)
        return PictureState::Missing;
    if (now.size != picture.size || now.hash != picture.hash)
        return PictureState::Changed;
    // A large picture is hashed in part: there, a new modification time counts as a change.
    return now.modifiedNs == picture.modifiedNs || now.size <= kWholeHashLimit ? PictureState::Same
                                                                               : PictureState::Changed;
}
