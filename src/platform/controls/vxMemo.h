// TCustomMemo / TMemo: a text box of several lines over Qt's plain text edit.
//
// The control's Text is the whole text, lines split by "\n"; a text set with "\r\n" or a lone
// "\r" is stored with "\n". Keys reach OnKeyDown and OnKeyPress before the text box acts on them
// (setting Key to 0 swallows one), and focus changes raise OnEnter and OnExit. Enter inserts a
// line break while WantReturns is on (the default); off, it still reaches the key events but
// types nothing. Tab moves the focus unless WantTabs is on, or CM_WANTSPECIALKEY answers
// non-zero for VK_TAB: then it types a tab character. OnChange follows every change of the text,
// typed or set.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

#include <string>

class QPlainTextEdit;

namespace vxplan {

class TCustomMemo : public TWinControl {
public:
    explicit TCustomMemo(TComponent* AOwner = nullptr);
    ~TCustomMemo() override;

    bool GetReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool GetWantReturns() const { return wantReturns_; }
    void SetWantReturns(bool wantReturns) { wantReturns_ = wantReturns; }
    bool GetWantTabs() const { return wantTabs_; }
    void SetWantTabs(bool wantTabs);
    // Long lines break at the control's width (the default) or run on to the right.
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    void SelectAll();

    void SetFocus() override;
    QPlainTextEdit* Widget() const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void Resize() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    class TTextEdit;
    std::string WidgetText() const;
    void WidgetTextChanged();

    TTextEdit* edit_;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    bool syncing_ = false;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

}  // namespace vxplan
