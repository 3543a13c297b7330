// The grid view's in-place editing: choosing and preparing the editor for the focused cell,
// committing its text back (StopEditing) or dropping it (BreakEditing), the keys every editor
// hands over, and the date conversion the picker needs.
//
// An edit holds its cell through a watch: a handler may delete the cell's row while the editor
// is open or while the edit is being committed, and the edit then ends without storing.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <vxplan/cellgrid/vxBabInplaceEditors.h>
#include <vxplan/cellgrid/vxLayoutProp.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>
#include <vxplan/platform/time/vxDateFormat.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QString>

#include <algorithm>
#include <cmath>

namespace vxplan {

namespace {

// The hooks InstallClassEvents shares among all views.
TBabEditHook& BeforeStartHook()
{
    static TBabEditHook hook;
    return hook;
}

TBabEditHook& AfterStopHook()
{
    static TBabEditHook hook;
    return hook;
}

// The button section at the left of a cell with a button.
constexpr int kButtonSection = 16;

TBabSimpleCellStringData* StringDataOf(TBabCell* theCell)
{
    if (!theCell || theCell->IsGridCell()) return nullptr;
    return dynamic_cast<TBabSimpleCellStringData*>(theCell->GetCellData());
}

std::string UpperAscii(std::string theText)
{
    std::transform(theText.begin(), theText.end(), theText.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return theText;
}

// Replaces every occurrence of theName (in any letter case) in theText by theBy.
void ReplaceNoCase(QString& theText, const QString& theName, const QString& theBy)
{
    if (theName.isEmpty()) return;
    theText.replace(theName, theBy, Qt::CaseInsensitive);
}

}  // namespace

void TBabGridView_Custom::InstallClassEvents(const TBabEditHook& theBeforeStart, const TBabEditHook& theAfterStop)
{
    BeforeStartHook() = theBeforeStart;
    AfterStopHook() = theAfterStop;
}

void TBabGridView_Custom::CreateEditors()
{
    editEditor_ = new TBabInplaceEditor(this);
    memoEditor_ = new TBabInplaceMemoEditor(this);
    comboEditor_ = new TBabInplaceComboEditor(this);
    boolEditor_ = new TBabInplaceBoolEditor(this);
    dateTimeEditor_ = new TBabInplaceDateTimeEditor(this);
}

// --- Choosing and preparing -------------------------------------------------------------------

TBabEditorType TBabGridView_Custom::InternalGetEditorType(TBabCell* theCell)
{
    TBabSimpleCellStringData* data = StringDataOf(theCell);
    if (!data) return TBabEditorType::babETEdit;
    TBabEditorType type = data->GetIsBoolean() ? TBabEditorType::babETBool : TBabEditorType::babETEdit;
    ChooseEditor(data, type);
    return type;
}

void TBabGridView_Custom::ChooseEditor(TBabSimpleCellStringData* theData, TBabEditorType& theType)
{
    if (OnChooseEditor) OnChooseEditor(this, theData, theType);
}

bool TBabGridView_Custom::IsCheckBoxCell(TBabCell* theCell)
{
    return StringDataOf(theCell) && InternalGetEditorType(theCell) == TBabEditorType::babETBool;
}

TRect TBabGridView_Custom::GetEditRect(TBabCell* theCell)
{
    TRect r = theCell->getVisibleRect();
    if (CellHasButton(theCell)) r.Left = std::min(r.Left + kButtonSection, r.Right);
    return r;
}

void TBabGridView_Custom::InitEditor(TWinControl*, TBabCell* theCell, std::string& theText) { theText = GetText(theCell); }

void TBabGridView_Custom::CheckEditLayout(TWinControl& theEditor, TBabCell* theCell)
{
    const TLayoutProp* layout = theCell->GetLayoutProp();
    if (!layout || !layout->UseFontInfo) return;
    theEditor.Font().SetName(layout->FontName);
    theEditor.Font().SetColor(layout->FontColor);
    theEditor.Font().SetSize(layout->FontSize);
    theEditor.Font().SetStyle(layout->FontStyle);
}

void TBabGridView_Custom::StartEditing()
{
    TBabCell* cell = root_->GetFocusedCellDownTrack();
    if (!StringDataOf(cell) || cell->GetIsFixed()) return;
    // Every handler on the way may free the cell.
    const TBabCellWatch watch(cell);
    if (!EditorCanModify(cell) || !watch.Get()) return;
    if (editing_) StopEditing();
    // Ending the edit before may have changed the grid.
    if (!watch.Get() || root_->GetFocusedCellDownTrack() != cell) return;
    const TBabEditorType type = InternalGetEditorType(cell);
    if (!watch.Get()) return;
    const TBabEditHook before = BeforeStartHook();
    if (before) before(this, cell);
    if (!watch.Get()) return;

    TWinControl* editor = nullptr;
    switch (type) {
    case TBabEditorType::babETEdit: editor = editEditor_; break;
    case TBabEditorType::babETMemo: editor = memoEditor_; break;
    case TBabEditorType::babETCombo: editor = comboEditor_; break;
    case TBabEditorType::babETBool: editor = boolEditor_; break;
    case TBabEditorType::babETDateTime: editor = dateTimeEditor_; break;
    }
    std::string text;
    InitEditor(editor, cell, text);
    if (!watch.Get()) return;
    // The value is converted before the edit begins: a text the picker cannot read ends here
    // with the error, and the cell keeps its text.
    TDateTime value = 0;
    if (type == TBabEditorType::babETDateTime) {
        const bool timeKind = dateTimeEditor_->GetKind() == TDateTimeKind::dtkTime;
        if (text.empty())
            value = timeKind ? 0 : Date();
        else
            value = timeKind ? StrToTime(text) : SafeStrToDate(text);
    }

    editing_ = true;
    editCell_.Set(cell);
    editorType_ = type;
    activeEditor_ = editor;
    try {
        root_->SetFocusedCell(cell);
        if (watch.Get()) cell->getGridCell()->UpdateMultiSelect(cell, TShiftState{});
        if (!watch.Get()) {
            ForgetEdit();
            return;
        }
        if (type == TBabEditorType::babETDateTime) {
            dateTimeEditor_->SetDateTime(0);
            dateTimeEditor_->SetDateTime(value);
        }
        PrepareEditor(cell, text);
    } catch (...) {
        ForgetEdit();
        throw;
    }
}

void TBabGridView_Custom::PrepareEditor(TBabCell* theCell, const std::string& theText)
{
    const TRect rect = GetEditRect(theCell);
    switch (editorType_) {
    case TBabEditorType::babETEdit:
        CheckEditLayout(*editEditor_, theCell);
        editEditor_->SetText(theText);
        editEditor_->Start(rect);
        // As the platform's edit does on entry: what is typed first replaces the text.
        editEditor_->SelectAll();
        break;
    case TBabEditorType::babETMemo:
        CheckEditLayout(*memoEditor_, theCell);
        memoEditor_->SetText(theText);
        memoEditor_->Start(rect);
        // Typing goes on after the text.
        memoEditor_->Widget()->moveCursor(QTextCursor::End);
        break;
    case TBabEditorType::babETCombo:
        CheckEditLayout(*comboEditor_, theCell);
        comboEditor_->SetText(theText);
        comboEditor_->Start(rect);
        break;
    case TBabEditorType::babETBool:
        boolEditor_->SetChecked(UpperAscii(theText) == "TRUE");
        if (toggleOnly_) {
            // A click on a check-box cell: the value flips and is stored at once, the editor
            // never shows.
            boolEditor_->SetChecked(!boolEditor_->GetChecked());
            StopEditing();
            return;
        }
        boolEditor_->Start(rect);
        break;
    case TBabEditorType::babETDateTime:
        CheckEditLayout(*dateTimeEditor_, theCell);
        dateTimeEditor_->Start(rect);
        break;
    }
}

// --- Ending ---------------------------------------------------------------------------------

std::string TBabGridView_Custom::EditorText() const
{
    switch (editorType_) {
    case TBabEditorType::babETEdit: return editEditor_->GetText();
    case TBabEditorType::babETMemo: return memoEditor_->GetText();
    case TBabEditorType::babETCombo: return comboEditor_->GetText();
    case TBabEditorType::babETBool: return boolEditor_->GetChecked() ? "TRUE" : "FALSE";
    case TBabEditorType::babETDateTime:
        return dateTimeEditor_->GetKind() == TDateTimeKind::dtkTime ? TimeToStr(dateTimeEditor_->GetDateTime())
                                                                     : DateToStr(dateTimeEditor_->GetDateTime());
    }
    return {};
}

void TBabGridView_Custom::StopAllEditors()
{
    editEditor_->Stop();
    memoEditor_->Stop();
    comboEditor_->Stop();
    boolEditor_->Stop();
    dateTimeEditor_->Stop();
}

void TBabGridView_Custom::StopEditing() { EndEdit(false); }

void TBabGridView_Custom::BreakEditing() { EndEdit(true); }

void TBabGridView_Custom::EndEdit(bool theCancelled)
{
    if (stoppingEdit_ || !editing_) return;
    const TFlagScope guard(stoppingEdit_);
    const bool hadEditor = activeEditor_ != nullptr;
    auto leaveEditState = [this] {
        editing_ = false;
        activeEditor_ = nullptr;
    };
    // Whatever a handler throws, the edit is over and the editors are hidden.
    auto finish = [&] {
        leaveEditState();
        editCell_.Set(nullptr);
        if (IsDestroying()) return;
        if (hadEditor && CanFocus()) SetFocus();
        Invalidate();
    };
    try {
        const TBabCellWatch cell(editCell_.Get());
        // A cancelled edit hands on a text that changes nothing.
        std::string text = theCancelled ? std::string("ESCAPED") : EditorText();
        if (cell.Get()) DeInitEditor(activeEditor_, cell.Get(), text, theCancelled);
        if (theCancelled) leaveEditState();
        StopAllEditors();
        // A commit's hook runs only while the edit still stands (its cell may have gone).
        const TBabEditHook after = AfterStopHook();
        if (after && cell.Get() && (theCancelled || editing_)) after(this, cell.Get());
    } catch (...) {
        StopAllEditors();
        finish();
        throw;
    }
    finish();
}

void TBabGridView_Custom::ForgetEdit()
{
    editing_ = false;
    activeEditor_ = nullptr;
    editCell_.Set(nullptr);
    if (!IsDestroying()) StopAllEditors();
}

void TBabGridView_Custom::DeInitEditor(TWinControl* theEditor, TBabCell* theCell, std::string& theText,
                                       bool theCancelled)
{
    if (theCancelled) return;
    // A committed edit may break the order: the sort mark goes.
    sortCell_ = nullptr;
    sortDirection_ = false;
    const TBabCellWatch cell(theCell);
    if (OnEditStop) OnEditStop(this, theEditor, StringDataOf(theCell), theText);
    // The handler may have deleted the row.
    if (TBabSimpleCellStringData* data = StringDataOf(cell.Get())) data->SetString(theText);
}

// --- Keys ------------------------------------------------------------------------------------

void TBabGridView_Custom::EditorKeyPress(char32_t& theKey, bool theMultiLine)
{
    if (theKey >= 32 && !EditorValidKey(theKey)) {
        theKey = 0;
        MessageBeep(0);
        return;
    }
    switch (theKey) {
    case 27:
        theKey = 0;
        BreakEditing();
        return;
    case 9:
        theKey = 0;
        StopEditing();
        return;
    case 13:
        if (theMultiLine) break;
        theKey = 0;
        StopEditing();
        return;
    default: break;
    }
    const bool changes = theKey == 8 || theKey == 22 || theKey == 24 || theKey >= 32;
    if (changes && !EditorCanModify(root_->GetFocusedCellDownTrack())) theKey = 0;
}

void TBabGridView_Custom::CheckBoxEditWithoutEditMode(TBabCell*)
{
    const TFlagScope toggling(toggleOnly_);
    StartEditing();
}

void TBabGridView_Custom::PassCharacterToEditor(char32_t theKey)
{
    if (!activeEditor_) return;
    QWidget* target = activeEditor_;
    while (target->focusProxy()) target = target->focusProxy();
    // The key code lets a check box take its Space; the text is what an edit types.
    int code = Qt::Key_unknown;
    if (theKey == U' ')
        code = Qt::Key_Space;
    else if (theKey >= U'0' && theKey <= U'9')
        code = Qt::Key_0 + static_cast<int>(theKey - U'0');
    else if (theKey >= U'a' && theKey <= U'z')
        code = Qt::Key_A + static_cast<int>(theKey - U'a');
    else if (theKey >= U'A' && theKey <= U'Z')
        code = Qt::Key_A + static_cast<int>(theKey - U'A');
    const QString text = QString::fromUcs4(&theKey, 1);
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// --- Dates -----------------------------------------------------------------------------------

TDateTime TBabGridView_Custom::SafeStrToDate(const std::string& theText)
{
    const TFormatSettings& settings = FormatSettings();
    if (!QString::fromStdString(settings.ShortDateFormat).contains("MMM", Qt::CaseInsensitive))
        return StrToDate(theText);
    // The month is spelled in that format: each name becomes its number before parsing.
    QString text = QString::fromStdString(theText);
    for (int month = 12; month >= 1; --month) {
        const QString name = QString::fromStdString(FormatDateTime("mmm", EncodeDate(2003, month, 1)));
        ReplaceNoCase(text, name, QString::number(month));
    }
    return StrToDate(text.toStdString());
}

}  // namespace vxplan
