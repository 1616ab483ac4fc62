#pragma once
// The dynamic loader's own record of the libraries a child process loaded (LD_DEBUG=files): the
// tests that check a run loads nothing it has no use for give the child its environment, then read
// what it loaded.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QTemporaryDir>

class LoaderLog {
public:
    // The variables that make the loader write its log here.
    QProcessEnvironment Environment() const;
    // Everything the loader wrote, every process of the run together.
    QByteArray Loaded() const;

private:
    QTemporaryDir m_folder;
};
