#pragma once
// Pagemill's dialogs: the Print Manager with its print and status windows, the template
// preview, the font and pen-and-brush defaults and the curve editor.

#include <QWidget>

#include <filesystem>
#include <memory>

#include "pagemill/core/DataManager.h"
#include "pagemill/core/GraphicObjects.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PrintJob.h"
#include "platform/PrintTarget.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace pagemill::ui {

// The print dialog: a PDF file (the default) or a CUPS printer, the paper size and
// fan-fold paper. Nothing when cancelled.
std::unique_ptr<platform::PrintTarget> runPrintDialog(QWidget* parent, const std::string& suggestedPdf, bool english);

// "Print Manager" (File > Print Manager); its file dialogs and its PDF start in dataRoot.
void runPrintManager(QWidget* parent, platform::Settings& settings, platform::Prompter& prompter,
                     CHeaderWnd& templates, bool english, const std::filesystem::path& dataRoot);

// Header > Preview: "Preview Selector", then "Header Peview".
void runPreview(QWidget* parent, CHeaderWnd& templates);

bool runFontDialog(QWidget* parent, FontChoice& font);
bool runPenBrushDialog(QWidget* parent, PenBrushChoice& pen);
// "Curve Editor" on the opened log; true when something was applied. Leaving a curve, or
// the editor, with edits not applied asks whether to apply them.
bool runCurveEditor(QWidget* parent, CDataManager& log, platform::Prompter& prompter,
                    const std::function<void()>& redraw);

}  // namespace pagemill::ui
