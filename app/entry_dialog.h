#pragma once

// What the vertex and index dialogs share: a small tool window that keeps its owner
// disabled while it is open, so it behaves as a modal dialog without a message loop of its
// own; the "OK" and "Annulla" buttons; Enter as OK and Escape as a plain close from any of
// its controls; and the result the owner reads once the window is gone.

#include "toolkit/font.h"
#include "toolkit/form.h"

#include <memory>
#include <string>

namespace KelUtility {
class Button;
class CheckButton;
class CurrencyBox;
} // namespace KelUtility

namespace MyApp {

class EntryDialog : public KelUtility::Form {
public:
    static constexpr int kNoChoice = 0;
    static constexpr int kConfirmed = 1;
    static constexpr int kCancelled = 2;

    ~EntryDialog() override;

    // Operations both dialogs add, in this order.
    virtual void CreateControls() = 0;
    virtual bool FormClosing();
    virtual void FormResized();
    virtual bool FormKeyPress(int character);
    virtual bool ChildKeyPress(KelUtility::GUIElement* box, int character);
    virtual void FormKeyDown(int key);
    virtual void FormKeyUp(int key);
    virtual void FormMouseUp(int mouseX, int mouseY);
    virtual void FormMouseDown(int mouseX, int mouseY);
    virtual void ChildLostFocus(KelUtility::GUIElement* element);
    virtual void ChildGotFocus(KelUtility::GUIElement* element);
    virtual void ChildClick(KelUtility::GUIElement* element);

    int result = kNoChoice;
    bool modify = false;
    int position;
    std::unique_ptr<KelUtility::Button> cancelButton;
    std::unique_ptr<KelUtility::Button> okButton;

protected:
    EntryDialog(KelUtility::Form* ownerForm, const std::string& title, int firstPosition);
    // Makes the window and its controls, then takes the owner's place as its modal dialog.
    // Called by the derived constructor, once the whole dialog can build its controls.
    void Open();
    // OK: the controls' values become the dialog's entry; false, after telling the user
    // why, when they cannot, and the dialog stays open.
    virtual bool TakeValues() = 0;
    // "Annulla" then "OK", at the bottom right of the stored size.
    void MakeButtons();
    // The width of a text in the dialog's font.
    int TextWidth(const wchar_t* text);
    // A length designed at 96 DPI, at the DPI of the owner's monitor.
    int Px(int length) const;
    // The width of a vertical scroll bar (and of a spinner's arrows) at the dialog's DPI.
    int ScrollBarWidth() const;
    // A dialog wider than the usual 400 pixels says so before Open.
    void SetClientWidth(int clientWidth);
    // And one taller than the usual 150.
    void SetClientHeight(int clientHeight);
    // A round option button, the first of its group or one more; its click reaches ChildClick.
    std::unique_ptr<KelUtility::CheckButton> MakeOption(const char* caption, int left, int top,
                                                        int optionWidth, bool firstOfGroup);
    // A box for a number, one row high.
    std::unique_ptr<KelUtility::CurrencyBox> MakeNumberBox(int left, int top, int boxWidth,
                                                           double value, bool negatives);
    // False, after telling the user which box it is and giving it the focus, when a number
    // box holds no digit: an empty box is never read as 0 behind the user's back.
    bool WarnIfEmpty(KelUtility::CurrencyBox& box, const std::string& name);
    // Closes the window and leaves the result as it is.
    void Close();

    // The handlers its controls call, which reach the dialog that holds the control.
    static bool KeyPressed(KelUtility::GUIElement* element, int character);
    static void ButtonClicked(KelUtility::GUIElement* button);
    static void BoxGotFocus(KelUtility::GUIElement* box);
    static void BoxLostFocus(KelUtility::GUIElement* box);

private:
    KelUtility::Font m_font;
    int m_dpi;
    int m_clientWidth;
    int m_clientHeight;
};

} // namespace MyApp
