#include "platform/gdi/FontFaces.h"

#include <QStringList>

namespace {

// The system face of the Japanese desktop the resources were written for; its menus, tooltips and
// status bars are drawn in it at 9 point.
constexpr const char* kSystemFace = "ＭＳ Ｐゴシック";
constexpr int kSystemPointSize = 9;

// The Japanese Windows faces have no Linux counterpart of the same name. IPAPGothic matches their
// metrics; the others are proportional gothic faces of the same class, the first installed wins.
QStringList InstalledFacesFor(const char* face) {
    return {QStringLiteral("IPAPGothic"),   QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("Noto Sans JP"), QString::fromUtf8(face),      QStringLiteral("sans-serif")};
}

} // namespace

QFont AfxFontForFace(const char* face, int pointSize) {
    QFont font;
    font.setFamilies(InstalledFacesFor(face));
    font.setPointSize(pointSize);
    return font;
}

QFont AfxGetProgramFont() {
    return AfxFontForFace(kSystemFace, kSystemPointSize);
}
