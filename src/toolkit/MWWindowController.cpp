#include "toolkit/MWWindowController.h"

#include "toolkit/LayoutLoader.h"

MWWindowController::MWWindowController() = default;

MWWindowController::~MWWindowController() {
    // The controller owns its widgets, wherever they were put; whoever deleted
    // them first leaves the guard empty.
    delete window_.data();
}

QWidget* MWWindowController::window() {
    if (window_)
        return window_;
    QWidget* loaded = layoutName_.isEmpty() ? nullptr : LayoutLoader::load(layoutName_);
    window_ = loaded ? loaded : loadWindow();
    awakeFromNib();
    return window_;
}

void MWWindowController::awakeFromNib() {
    if (viewIsLoaded_)
        return;
    viewIsLoaded_ = true;
    mw_viewDidLoad();
}

void MWWindowController::beginSheetInWindow(QWidget* host) {
    mw_sheetWillAppear();
    QWidget* sheet = window();
    sheetHost_ = host;
    sheet->setParent(host, Qt::Sheet | Qt::Dialog);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->show();
    mw_sheetDidAppear();
}

void MWWindowController::closeSheet() {
    mw_sheetWillDisappear();
    didEndSheet(window(), 0);
    mw_sheetDidDisappear();
}

void MWWindowController::didEndSheet(QWidget* sheet, int) {
    sheet->hide();
    sheetHost_ = nullptr;
}
