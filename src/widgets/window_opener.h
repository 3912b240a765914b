#pragma once
// How one child window opens another inside the main frame without knowing
// the other's class. The opener reads ProjectEditMode and CurrentProjectNo,
// which the caller sets just before.

#include <QString>

namespace widgets {

class WindowOpener {
public:
    virtual ~WindowOpener() = default;
    // A new project editor; caption by ProjectEditMode.
    virtual void OpenProjectEditor() = 0;
    // A new project detail window for CurrentProjectNo, on CurrentNodeNo.
    virtual void OpenProjectDetail() = 0;
    // A new viewer of the file; a frame that holds no viewers ignores it.
    virtual void OpenPreview(const QString& path) { (void)path; }
};

}  // namespace widgets
