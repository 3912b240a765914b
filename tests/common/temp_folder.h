#pragma once

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

}  // namespace testing_support
