#pragma once
// Creates every screen the main window opens. Screens that are not built yet
// come back as null, and their menu commands stop after their guards.

#include <QDialog>
#include <QWidget>

#include "widgets/screen_context.h"

namespace app {

// The dialogs that live for the whole run, created once in this order.
struct Dialogs {
    QDialog* form2 = nullptr;   // database settings
    QDialog* form3 = nullptr;   // section register
    QDialog* form4 = nullptr;   // member register
    QDialog* form12 = nullptr;  // revision history
    QDialog* form6 = nullptr;   // PC user
    QDialog* form11 = nullptr;  // name dialog
    QDialog* form5 = nullptr;   // company register
};

class ScreenFactory {
public:
    explicit ScreenFactory(widgets::ScreenContext context) : context_(context) {}
    virtual ~ScreenFactory() = default;

    virtual Dialogs CreateDialogs(QWidget* mainWindow);
    // Child windows, made anew for every opening; they free themselves on close.
    virtual QWidget* NewProjectEditor(QWidget* mainWindow);
    virtual QWidget* NewProjectList(QWidget* mainWindow);
    virtual QWidget* NewProjectChart(QWidget* mainWindow);
    virtual QWidget* NewProjectDetail(QWidget* mainWindow);
    virtual QWidget* NewDrawingSearch(QWidget* mainWindow);

protected:
    widgets::ScreenContext context_;
};

}  // namespace app
