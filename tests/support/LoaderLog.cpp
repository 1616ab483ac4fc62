#include "LoaderLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QProcessEnvironment LoaderLog::Environment() const {
    QProcessEnvironment environment;
    environment.insert("LD_DEBUG", "files");
    environment.insert("LD_DEBUG_OUTPUT", m_folder.filePath("loaded"));
    return environment;
}

QByteArray LoaderLog::Loaded() const {
    QByteArray loaded;
    for (const QFileInfo& file : QDir(m_folder.path()).entryInfoList(QDir::Files)) {
        QFile text(file.filePath());
        if (text.open(QIODevice::ReadOnly))
            loaded += text.readAll();
    }
    return loaded;
}
