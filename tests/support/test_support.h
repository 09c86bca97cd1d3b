#pragma once
#include <QString>
#include <QTemporaryDir>

namespace k3n::test {

// A fresh folder under the build tree for one test; removed when it goes out of scope.
class ScratchDir {
public:
    ScratchDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
private:
    QTemporaryDir dir_;
};

// Points XDG_CONFIG_HOME and HOME at a scratch folder so no test touches the user's files.
void isolateUserFiles();

} // namespace k3n::test
