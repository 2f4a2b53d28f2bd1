#pragma once

// The toolkit's About box: a picture on the left, a title line, a rights line, links to the
// home page and to a mail address at the same domain, a read-only notice and an "OK"
// button. The opener fills in the picture and the texts, then calls Show; the box keeps its
// owner disabled until it closes.

#include "toolkit/form.h"

#include <memory>
#include <string>

namespace KelUtility {

class Button;
class CellControl;
class Font;
class Image;
class Label;
class PanelChildren;
class TextBox;

class FormAbout : public Form {
public:
    // Disables the owner and becomes its companion; the window is made by Show.
    explicit FormAbout(Form* owner);
    ~FormAbout() override;

    void Shown() override;

    virtual void CreateControls();
    virtual bool FormClosing();
    virtual void FormResized();
    // False swallows the character: Enter and Escape close the box.
    virtual bool FormKeyPress(int character);
    virtual void FormKeyDown(int key);
    virtual void FormKeyUp(int key);
    virtual void ChildClick(GUIElement* element);
    virtual void LinkClicked(GUIElement* link, int x, int y);

    // The mail address at the home page's domain that the e-mail link shows:
    // "http://www.kelmorvane.example/x" gives "info@kelmorvane.example"; "" without a host.
    static std::string MailAddressFor(const std::string& homePage);

    int pictureResource = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::string titleText;
    std::string rightsText;
    std::string noticeText;
    std::string homePage;

    // Owned; declared before the controls, so the controls go first.
    std::unique_ptr<Font> formFont;
    std::unique_ptr<Font> titleFont;
    std::unique_ptr<Font> linkFont;

    std::unique_ptr<PanelChildren> picturePanel;
    std::unique_ptr<Image> picture;
    std::unique_ptr<Label> titleLabel;
    std::unique_ptr<Label> rightsLabel;
    std::unique_ptr<CellControl> homeLink;
    std::unique_ptr<CellControl> mailLink;
    std::unique_ptr<TextBox> noticeBox;
    std::unique_ptr<Button> okButton;

private:
    // Gives the owner its window back: no longer this box's companion, enabled again.
    // Only the first call does anything.
    void ReleaseOwner();

    bool ownerReleased = false;
    // A length designed at 96 DPI, at the DPI of the opener's monitor.
    int Px(int length) const;
    int m_dpi;
};

} // namespace KelUtility
