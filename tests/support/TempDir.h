#pragma once
// A scratch directory for one test that is also made the working directory while it lives
// (the program looks for its database and settings there).
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    ~TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};
