#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace testing_support {

// A fresh folder per test, removed afterwards; path() ends with '/'.
class TempFolder {
public:
    TempFolder() { dir_.setAutoRemove(true); }
    std::string path() const { return dir_.path().toStdString() + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// Writes `bytes` as the file `name` in `folder`; the path, to hand to the code under test.
inline QString Write(const TempFolder& folder, const std::string& name, const std::string& bytes)
{
    const QString path = QString::fromStdString(folder.file(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

}  // namespace testing_support
