#include "trace/TracePreferences.h"

#include "model/CDataAxis.h"
#include "platform/core/ProfileStore.h"

#include <QString>
#include <algorithm>

#include <initializer_list>
#include <string>

namespace {
constexpr const char* kSection = "Trace";
constexpr const char* kToleranceEntry = "ColourTolerance";
constexpr const char* kSpacingEntry = "PointSpacing";
constexpr const char* kGapEntry = "LargestGap";
constexpr const char* kInsideEntry = "InsideReferenceBox";

int LoadNumber(const ProfileStore& store, const char* entry, const int (&range)[2], int fallback) {
    const CString text = store.GetString(kSection, entry);
    bool ok = false;
    const int value = QString::fromUtf8(text.GetString()).toInt(&ok);
    return ok && value >= range[0] && value <= range[1] ? value : fallback;
}

void SaveNumber(ProfileStore& store, const char* entry, int value) {
    store.WriteString(kSection, entry, CString(std::to_string(value)));
}
} // namespace

TraceSettings TracePreferences::ForAxis(const CDataAxis& axis) const {
    TraceSettings settings;
    settings.colourTolerance = colourTolerance;
    settings.pointSpacing = pointSpacing;
    settings.largestGap = largestGap;
    if (insideReferenceBox)
        settings.bounds = ReferenceBox(axis);
    return settings;
}

TracePreferences TracePreferences::Load() {
    TracePreferences preferences;
    const ProfileStore* store = ProfileStore::Current();
    if (store == nullptr)
        return preferences;
    preferences.colourTolerance =
        LoadNumber(*store, kToleranceEntry, kToleranceRange, preferences.colourTolerance);
    preferences.pointSpacing = LoadNumber(*store, kSpacingEntry, kSpacingRange, preferences.pointSpacing);
    preferences.largestGap = LoadNumber(*store, kGapEntry, kGapRange, preferences.largestGap);
    preferences.insideReferenceBox = store->GetString(kSection, kInsideEntry, "0") == "1";
    return preferences;
}

void TracePreferences::Save() const {
    ProfileStore* store = ProfileStore::Current();
    if (store == nullptr)
        return;
    SaveNumber(*store, kToleranceEntry, colourTolerance);
    SaveNumber(*store, kSpacingEntry, pointSpacing);
    SaveNumber(*store, kGapEntry, largestGap);
    store->WriteString(kSection, kInsideEntry, insideReferenceBox ? "1" : "0");
}

QRect ReferenceBox(const CDataAxis& axis) {
    int left = axis.m_Origin.m_nPixelX;
    int right = left;
    int top = axis.m_Origin.m_nPixelY;
    int bottom = top;
    for (const CData* point : {&axis.m_XAxis, &axis.m_YAxis}) {
        left = std::min(left, point->m_nPixelX);
        right = std::max(right, point->m_nPixelX);
        top = std::min(top, point->m_nPixelY);
        bottom = std::max(bottom, point->m_nPixelY);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
