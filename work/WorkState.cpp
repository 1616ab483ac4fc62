#include "work/WorkState.h"

#include <QCryptographicHash>
#include <QFile>

#include <bit>
#include <cstdint>

bool WorkState::Reference::operator==(const Reference& other) const {
    return x == other.x && y == other.y &&
           std::bit_cast<std::uint64_t>(valueX) == std::bit_cast<std::uint64_t>(other.valueX) &&
           std::bit_cast<std::uint64_t>(valueY) == std::bit_cast<std::uint64_t>(other.valueY);
}

WorkState::PictureIdentity WorkState::PictureIdentity::Of(const QString& path) {
    PictureIdentity identity;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return identity;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return identity;
    identity.size = file.size();
    identity.sha256 = hash.result().toHex();
    return identity;
}

WorkState::PictureIdentity WorkState::PictureIdentity::Unknown(qint64 size) {
    return {size, QByteArray(64, '0')};
}

int WorkState::PointCount() const {
    std::size_t count = 0;
    for (const Series& points : series)
        count += points.size();
    return static_cast<int>(count);
}

bool WorkState::SelectionFits() const {
    if (selectedSeries == kNoSelection)
        return true;
    if (selectedSeries == kReferenceSelected)
        return selectedIndex >= 0 && selectedIndex < 3;
    return selectedSeries >= 0 && static_cast<std::size_t>(selectedSeries) < series.size() &&
           selectedIndex >= 0 &&
           static_cast<std::size_t>(selectedIndex) < series[static_cast<std::size_t>(selectedSeries)].size();
}

bool WorkState::IsConsistent() const {
    return !series.empty() && currentSeries == static_cast<int>(series.size()) - 1 && SelectionFits();
}

WorkState::PictureState WorkState::CheckPicture() const {
    const PictureIdentity now = PictureIdentity::Of(picturePath);
    if (now.size < 0)
        return PictureState::Missing;
    return now == pictureIdentity ? PictureState::Same : PictureState::Changed;
}
