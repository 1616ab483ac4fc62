#pragma once
// The program's widget style: the style the user chose (Qt's default unless -style or
// QT_STYLE_OVERRIDE says otherwise), with one difference. The arrow that a menu bar or toolbar
// shows when its items do not fit is drawn from the style's built-in pixmap rather than from the
// PNG files Qt's common style names: an icon read from a file that does not say its format makes
// Qt load every image plugin on the system and ask each of them first, and every menu bar asks for
// that arrow when it is made, so each launch paid tens of milliseconds before its first window.

#include <QProxyStyle>

class ApplicationStyle final : public QProxyStyle {
public:
    explicit ApplicationStyle(const QString& baseStyleName);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
