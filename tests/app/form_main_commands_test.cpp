// The editor driven end to end through its real window: menu commands as the platform
// sends them, clicks on the tool bars, keys in the boxes and dialogs, the answers to boxes
// and file dialogs given through the dialog seam, and the document, the controls, the
// files and the preview checked afterwards.

#include "app/form_indici.h"
#include "app/form_main.h"
#include "app/form_semplifica.h"
#include "app/form_trasforma.h"
#include "app/form_vertici.h"
#include "app/program_title.h"
#include "document/model_import.h"
#include "document/model_pictures.h"
#include "document/reported_number.h"
#include "document/text_file.h"
#include "toolkit/text_conversion.h"

#include "toolkit/button.h"
#include "toolkit/combo_box.h"
#include "toolkit/currency_box.h"
#include "toolkit/gui_control.h"
#include "toolkit/image_frame.h"
#include "toolkit/on_demand_list_box.h"
#include "toolkit/numeric_box.h"
#include "toolkit/status_bar.h"
#include "toolkit/sub_menu.h"
#include "toolkit/text_box.h"
#include "toolkit/timer.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tool_bar_item.h"
#include "viewport/d3d_panel.h"

#include "tests/support/dialog_answerer.h"
#include "tests/support/frame_pixels.h"
#include "tests/support/scripted_host.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/win32_test_elements.h"

#include <cfloat>
#include <dlgs.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <memory>

using namespace MyApp;
using KelUtility::GUIElement;

namespace {

using KelTest::Type;

std::vector<std::string> Rows(KelUtility::OnDemandListBox& list) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageW(list.window, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(list.window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.emplace_back(text, text + wcslen(text));
    }
    return rows;
}

int Selected(KelUtility::OnDemandListBox& list) {
    return static_cast<int>(SendMessageW(list.window, LB_GETCURSEL, 0, 0));
}

class FormMainCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());
    }

    // A menu item chosen: the command message the platform sends for it.
    void Choose(KelUtility::SubMenu& item) {
        PostMessageW(form->window, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
        KelTest::PumpMessages();
    }

    // A click in the middle of a tool bar button.
    void Click(KelUtility::ToolBar& bar, KelUtility::ToolBarItem& item) {
        const LRESULT index = SendMessageW(bar.window, TB_COMMANDTOINDEX, item.id, 0);
        RECT button = {};
        SendMessageW(bar.window, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
        const LPARAM middle =
            MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        PostMessageW(bar.window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageW(bar.window, WM_LBUTTONUP, 0, middle);
        KelTest::PumpMessages();
    }

    void Tick() { SendMessageW(form->window, WM_TIMER, form->timer->id, 0); }

    // Two triangles, the second naming a copy of the first's corner 1: a mesh every tool has
    // something to do with, shown and with a fresh history.
    void OpenTwoTrianglesWithACopiedCorner() {
        form->document.Vertices = {{0, 0, 0, 0xFF, 0, 0}, {1, 0, 0, 0xFF, 0, 0},
                                   {0, 1, 0, 0xFF, 0, 0}, {1, 0, 0, 0xFF, 0, 0}};
        form->document.Indices = {0, 1, 2, 0, 3, 2};
        form->document.FaceCount = 2;
        form->LoadControls();
        form->history.Reset(form->document);
    }

    bool SaveEnabled() {
        return SendMessageW(form->mainToolBar->window, TB_ISBUTTONENABLED, form->saveButton->id,
                            0) != 0;
    }

    KelTest::ScriptedHost host;
    TemporaryFolder folder;
    std::unique_ptr<FormMain> form;
};

} // namespace

TEST_F(FormMainCommandsTest, OpeningAProjectFillsEveryControlAndThePreview) {
    MeshDocument saved;
    saved.ResetToSample();
    saved.BackColor = 0x00204080;
    saved.ViewWidth = 400;
    saved.EyeX = 1.5;
    saved.RotZ = 90;
    saved.FaceCount = 2;
    saved.Indices = {0, 1, 2, 3, 4, 5};
    const std::string path = folder.File("piramide.kv3");
    TextFile(path).WriteLines(saved.ToLines());

    host.paths = {path};
    Choose(*form->openItem);
    EXPECT_EQ(host.fileDialogTitles, std::vector<std::wstring>{L"Apri"});
    EXPECT_TRUE(host.boxes.empty()) << "a sound project opens without a word";
    EXPECT_EQ(form->statusBar->GetNarrowText(), path);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(form->facesSpin->GetValue(), 2);
    EXPECT_EQ(form->widthSpin->GetValue(), 400);
    EXPECT_EQ(form->rotationZSpin->GetValue(), 90);
    EXPECT_EQ(form->eyeXBox->GetValue(), 1.5);
    EXPECT_EQ(form->colorSwatch->backColor, 0x00204080u);
    EXPECT_EQ(Rows(*form->indexList).back(), "6) 5");
    Tick();
    EXPECT_FALSE(form->Modified) << "what was opened is what the controls show";

    const KelTest::FramePixels frame = KelTest::DrawFrame(*form->viewport);
    EXPECT_EQ(frame.width, 400);
    EXPECT_EQ(frame.At(0, 0), 0x804020u) << "the project's background";
    EXPECT_GT(frame.CountOtherThan(0x804020), 500) << "its two faces";

    host.paths = {folder.File("rotto.kv3")};
    TemporaryFolder::WriteBytes(host.paths.front(), "altro\r\n");
    Choose(*form->openItem);
    EXPECT_EQ(host.BoxTexts().back(),
              "Errore / Formato non valido.\n" + folder.File("rotto.kv3") +
                  ": La prima riga non \xC3\xA8 KEL MORVANE: non \xC3\xA8 un progetto di Kel "
                  "Morvane.");
    // Bytes of no text at all, without a line break: the header is what is wrong.
    TemporaryFolder::WriteBytes(host.paths.front(), std::string("\x89PNG\x1A\0\xFF\xFE", 8));
    Choose(*form->openItem);
    EXPECT_EQ(host.BoxTexts().back(),
              "Errore / Formato non valido.\n" + folder.File("rotto.kv3") +
                  ": La prima riga non \xC3\xA8 KEL MORVANE: non \xC3\xA8 un progetto di Kel "
                  "Morvane.");
    EXPECT_EQ(form->document.ViewWidth, 400) << "the document is kept";
}

TEST_F(FormMainCommandsTest, VerticesAndIndicesAreEditedThroughTheirDialogs) {
    SendMessageW(form->vertexList->window, LB_SETCURSEL, 0, 0);
    Click(*form->vertexToolBar, *form->vertexModifyButton);
    ASSERT_TRUE(form->vertexDialog);
    EXPECT_FALSE(IsWindowEnabled(form->window));
    EXPECT_EQ(form->vertexDialog->GetNarrowText(), "Modifica Vertice");
    SendMessageW(form->vertexDialog->yBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->vertexDialog->yBox, "7\r");
    EXPECT_TRUE(IsWindowEnabled(form->window));
    EXPECT_EQ(Rows(*form->vertexList)[0], "1) 1 7 0");
    EXPECT_EQ(Selected(*form->vertexList), 0) << "kept on the modified row";
    EXPECT_TRUE(form->Modified) << "at once, so that a New right after asks to save";
    EXPECT_TRUE(SaveEnabled());

    Click(*form->vertexToolBar, *form->vertexAddButton);
    Type(*form->vertexDialog->xBox, "5\r");
    EXPECT_EQ(Rows(*form->vertexList).size(), 13u);
    EXPECT_EQ(Selected(*form->vertexList), 12) << "the new row";

    Click(*form->vertexToolBar, *form->vertexDeleteButton);
    EXPECT_EQ(host.BoxTexts().back(), "Conferma / Si desidera cancellare l'elemento selezionato?\n"
                                      "Anche i triangoli che lo usano saranno cancellati.");
    EXPECT_EQ(Rows(*form->vertexList).size(), 12u);
    EXPECT_EQ(Selected(*form->vertexList), 11) << "the new last row";

    SendMessageW(form->vertexList->window, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    const FormVertici* added = form->vertexDialog.get();
    Click(*form->vertexToolBar, *form->vertexModifyButton);
    EXPECT_EQ(host.BoxTexts().back(),
              "Attenzione / E' necessario selezionare un elemento dalla lista.");
    EXPECT_EQ(form->vertexDialog.get(), added) << "no dialog opened";
    Click(*form->indexToolBar, *form->indexAddButton);
    Type(*form->indexDialog->indexBox, "\x1b");
    EXPECT_TRUE(form->document.Indices.empty()) << "Escape adds nothing";
    Click(*form->indexToolBar, *form->indexAddButton);
    Type(*form->indexDialog->indexBox, "11\r");
    EXPECT_EQ(Rows(*form->indexList), std::vector<std::string>{"1) 11"});
}

TEST_F(FormMainCommandsTest, NewSaveAndSaveAsKeepTheFileAndTheMenusInStep) {
    form->ApplyMove(2);
    EXPECT_TRUE(SaveEnabled());
    host.answers = {IDNO};
    Choose(*form->newItem);
    EXPECT_EQ(host.BoxTexts().back(), "Salva / Si desidera salvare le modifiche del file?");
    EXPECT_TRUE(form->document.Vertices.empty()) << "the changes are dropped";
    EXPECT_FALSE(SaveEnabled());

    form->ApplyMove(1);
    const std::string path = folder.File("nuovo");
    host.paths = {path};
    Click(*form->mainToolBar, *form->saveButton);
    EXPECT_EQ(form->ProjectPath, path + ".kv3");
    EXPECT_EQ(MeshDocument().ToLines().size(), TextFile(path + ".kv3").ReadLines().size());
    EXPECT_FALSE(form->Modified);

    host.paths.clear(); // Save As cancelled: nothing changes
    Choose(*form->saveAsItem);
    EXPECT_EQ(form->ProjectPath, path + ".kv3");
    EXPECT_EQ(form->statusBar->GetNarrowText(), path + ".kv3");
    const HMENU file = GetSubMenu(GetMenu(form->window), 0);
    EXPECT_FALSE(GetMenuState(file, 4, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(FormMainCommandsTest, ExportsReportWhatHappened) {
    host.paths = {folder.File("mesh.png"), folder.File("mesh.x"), folder.File("manca\\mesh.x")};
    Choose(*form->exportPictureItem);
    Choose(*form->exportMeshItem);
    Choose(*form->exportMeshItem);
    host.paths = {folder.File("vuota.x")};
    Choose(*form->newItem);
    Choose(*form->exportMeshItem);
    const std::size_t dialogs = host.fileDialogTitles.size();
    Choose(*form->exportStlItem);
    EXPECT_EQ(host.fileDialogTitles.size(), dialogs) << "no file asked for nothing to write";
    EXPECT_EQ(host.BoxTexts(),
              (std::vector<std::string>{"Esporta / Esportazione effettuata correttamente.",
                                        "Esporta / Esportazione effettuata correttamente.",
                                        "Errore / Errore durante la scrittura del file.\n" +
                                            folder.File("manca\\mesh.x") +
                                            ": La cartella non esiste.",
                                        "Errore / Definizione Mesh non completata.",
                                        "Esporta / Il modello non contiene triangoli da esportare."}));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"mesh.png", "mesh.x"}));
}

// A value no float carries (a hand-made project can hold one) is refused by the .x export
// and the model exports alike, before a file is asked for, naming its vertex.
TEST_F(FormMainCommandsTest, ExportsRefuseAValuePastAFloatBeforeAskingForAFile) {
    form->document.ResetToSample();
    form->document.Vertices[2].Y = 1e40;
    form->LoadControls();
    host.paths = {folder.File("m.x"), folder.File("m.stl")};
    Choose(*form->exportMeshItem);
    Choose(*form->exportStlItem);
    EXPECT_TRUE(host.fileDialogTitles.empty());
    const std::string refusal = "Errore / Il modello non si pu\xC3\xB2 esportare: il vertice 3 ha "
                                "Y = 1e+40, oltre il massimo di un numero a 32 bit (" +
                                ReportedReal(FLT_MAX) + "). Correggi il vertice e riprova.";
    EXPECT_EQ(host.BoxTexts(), (std::vector<std::string>{refusal, refusal}));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(FormMainCommandsTest, AFailedSaveOnExitKeepsTheWindowAndTheWork) {
    form->ApplyMove(3);
    form->SetFileName(folder.File("manca\\progetto.kv3"));
    SendMessageW(form->window, WM_CLOSE, 0, 0);
    EXPECT_EQ(host.BoxTexts(),
              (std::vector<std::string>{"Uscita / Vuoi realmente uscire?",
                                        "Salva / Si desidera salvare le modifiche del file?",
                                        "Errore / Errore durante il salvataggio.\n" +
                                            folder.File("manca\\progetto.kv3") +
                                            ": La cartella non esiste."}));
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_TRUE(form->timer->running);
    EXPECT_TRUE(form->Modified);

    host.answers = {IDYES, IDNO}; // leave, without saving
    Choose(*form->exitItem);
    EXPECT_FALSE(IsWindow(form->window));
}

TEST_F(FormMainCommandsTest, TheTickFollowsTheHeldPadAndTheTypedWidth) {
    const double start = form->document.MoveX;
    RECT pad;
    GetClientRect(form->movePad->arrows[0]->window, &pad);
    const LPARAM middle = MAKELPARAM(pad.right / 2, pad.bottom / 2);
    SendMessageW(form->movePad->arrows[0]->window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Tick();
    Tick();
    SendMessageW(form->movePad->arrows[0]->window, WM_LBUTTONUP, 0, middle);
    EXPECT_NEAR(form->document.MoveX, start - 0.3, 1e-9) << "two ticks and the release";
    Tick();
    EXPECT_NEAR(form->viewport->MoveX, start - 0.3, 1e-9);

    SendMessageW(form->widthBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->widthBox, "2000");
    Tick();
    EXPECT_EQ(form->document.ViewWidth, 50) << "beyond the range: the spinner's minimum";
    EXPECT_EQ(form->viewport->GetSize().cx, 50);
}

// The platform's own dialogs, pressed as a person would: a project opened through the real
// "Apri" dialog, and the real question on leaving.
TEST(FormMainRealDialogs, OpenThroughTheDialogAndLeaveThroughTheQuestion) {
    TemporaryFolder folder;
    MeshDocument saved;
    saved.ResetToSample();
    saved.Vertices.resize(3);
    saved.FaceCount = 1;
    const std::string path = folder.File("tre.kv3");
    TextFile(path).WriteLines(saved.ToLines());
    auto form = std::make_unique<FormMain>(GetModuleHandleW(nullptr), ProgramTitle());

    const std::wstring typed(path.begin(), path.end());
    KelTest::DialogAnswerer open(L"Apri", [typed](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, typed.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    form->OpenProject();
    EXPECT_TRUE(open.Found());
    EXPECT_EQ(Rows(*form->vertexList).size(), 3u);

    KelTest::DialogAnswerer stay(L"Uscita", KelTest::Press(IDNO));
    SendMessageW(form->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(stay.Found());
    EXPECT_TRUE(IsWindow(form->window));
    KelTest::DialogAnswerer leave(L"Uscita", KelTest::Press(IDYES));
    SendMessageW(form->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(leave.Found());
    EXPECT_FALSE(IsWindow(form->window));
}

TEST_F(FormMainCommandsTest, NewOpenAndExitNeverDropWorkTheUserDidNotGiveUp) {
    form->ApplyMove(2);
    host.answers = {IDCANCEL}; // the question cancelled
    Choose(*form->newItem);
    host.answers = {IDYES}; // Yes, then the save dialog cancelled
    Choose(*form->openItem);
    host.answers = {IDYES, IDCANCEL}; // leave, then cancel the save question
    Choose(*form->exitItem);
    EXPECT_TRUE(IsWindow(form->window));
    EXPECT_EQ(form->document.Vertices.size(), 12u) << "nothing was given up";
    EXPECT_TRUE(form->Modified);

    const std::string first = folder.File("primo.kv3");
    TextFile(first).WriteLines(form->document.ToLines());
    const std::string saved = TemporaryFolder::ReadBytes(first);
    host.answers = {IDNO};
    host.paths = {first};
    Choose(*form->openItem);
    form->widthSpin->SetValue(1300); // wider than the window: a horizontal bar
    Tick();
    Tick();
    const auto hasHorizontalBar = [&] {
        return (GetWindowLongW(form->viewportContainer->window, GWL_STYLE) & WS_HSCROLL) != 0;
    };
    EXPECT_TRUE(hasHorizontalBar());
    host.answers = {IDNO};
    Choose(*form->newItem);
    Tick();
    EXPECT_FALSE(hasHorizontalBar()) << "the new document's preview fits";
    EXPECT_EQ(form->ProjectPath, "") << "a new document has no file yet";
    EXPECT_EQ(form->statusBar->GetNarrowText(), "");
    form->ApplyMove(1);
    Click(*form->mainToolBar, *form->saveButton); // asks where, and is cancelled
    EXPECT_EQ(TemporaryFolder::ReadBytes(first), saved) << "the opened file is untouched";
    EXPECT_EQ(host.fileDialogTitles, (std::vector<std::wstring>{L"Salva", L"Apri", L"Salva"}));

    // A name given with another extension gets ".kv3" after the dialog: the overwrite
    // question is asked here for it.
    TemporaryFolder::WriteBytes(folder.File("tri.txt.kv3"), "KEL MORVANE\r\n");
    host.paths = {folder.File("tri.txt")};
    host.answers = {IDNO};
    Choose(*form->saveAsItem);
    EXPECT_EQ(host.BoxTexts().back(),
              "Salva / " + folder.File("tri.txt.kv3") + " esiste gi\xC3\xA0.\nSostituirlo?");
    EXPECT_EQ(form->ProjectPath, "");
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("tri.txt.kv3")), "KEL MORVANE\r\n");

    form->SetFileName(first); // a name the project cannot be written under is not kept
    host.paths = {folder.File("manca\\altro.kv3")};
    Choose(*form->saveAsItem);
    EXPECT_EQ(host.BoxTexts().back(), "Errore / Errore durante il salvataggio.\n" +
                                          folder.File("manca\\altro.kv3") +
                                          ": La cartella non esiste.");
    EXPECT_EQ(form->ProjectPath, first);

    // A project another program holds open is not replaced, and the system says why.
    const HANDLE held = CreateFileW(KelUtility::ToWide(first).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form->ApplyMove(2);
    Click(*form->mainToolBar, *form->saveButton);
    CloseHandle(held);
    EXPECT_EQ(host.BoxTexts().back(),
              "Errore / Errore durante il salvataggio.\n" + first +
                  ": Il file \xC3\xA8 in uso da un altro programma.");
    EXPECT_EQ(TemporaryFolder::ReadBytes(first), saved);
}

// A project read only through the format's lenient rules says where it is damaged, and
// opens without its file name: a save asks where, offering another name.
TEST_F(FormMainCommandsTest, ADamagedProjectOpensWithAWarningAndWithoutItsName) {
    MeshDocument sample;
    sample.ResetToSample();
    std::vector<std::string> lines = sample.ToLines();
    lines.erase(lines.begin() + 88); // END VERTEX, line 89
    std::string noEndVertex;
    for (const std::string& line : lines)
        noEndVertex += line + "\r\n";
    const std::string whole = sample.ToText();
    MeshDocument distant = sample;
    distant.Vertices[2].Y = 1e300;
    const struct {
        const char* name;
        std::string bytes;
        std::string notice; // how the box begins after "Il progetto <path> "
        bool damaged;
    } projects[] = {
        {"danneggiato", noEndVertex, "\xC3\xA8 danneggiato: manca END VERTEX (riga 89).\n", true},
        {"troncato", whole.substr(0, whole.size() - 30),
         "\xC3\xA8 danneggiato: il file si interrompe prima della fine del progetto (riga 89).\n",
         true},
        {"lontano", distant.ToText(),
         "contiene un valore che l'anteprima non pu\xC3\xB2 mostrare: il vertice 3 ha Y = 1e+300,",
         false},
    };
    for (const auto& project : projects) {
        SCOPED_TRACE(project.name);
        const std::string path = folder.File(std::string(project.name) + ".kv3");
        TemporaryFolder::WriteBytes(path, project.bytes);
        // The project opened before, damaged, is not saved.
        const bool asked = form->Modified;
        host.answers.clear();
        if (asked)
            host.answers = {IDNO};
        host.boxes.clear();
        host.paths = {path};
        Choose(*form->openItem);
        ASSERT_EQ(host.boxes.size(), asked ? 2u : 1u);
        const KelTest::ScriptedHost::Box& box = host.boxes.back();
        EXPECT_EQ(box.caption, "Attenzione");
        EXPECT_EQ(box.text.rfind("Il progetto " + path + " " + project.notice, 0), 0u) << box.text;
        EXPECT_EQ(form->ProjectPath, project.damaged ? "" : path);
        if (!project.damaged) {
            EXPECT_EQ(form->document.Vertices[2].Y, 1e300) << "kept as it was";
            continue;
        }
        EXPECT_EQ(form->statusBar->GetNarrowText(), "");
        EXPECT_TRUE(SaveEnabled());
        Click(*form->mainToolBar, *form->saveButton); // asks where, and is cancelled
        EXPECT_EQ(host.offeredNames.back(), folder.File(std::string(project.name) + " (recuperato).kv3"));
        EXPECT_EQ(TemporaryFolder::ReadBytes(path), project.bytes);
    }
    EXPECT_EQ(form->document.Vertices.size(), 12u);
}

// The entry chosen decides the format and the name's ending, and every file that would
// be replaced is asked about by the name written.
TEST_F(FormMainCommandsTest, ExportsFollowTheEntryChosenAndAskForTheNamesWritten) {
    host.paths = {folder.File("x.obj"), folder.File("x.x"), folder.File("immagine")};
    Choose(*form->exportPlyItem);
    Choose(*form->exportObjItem);
    Choose(*form->exportPictureItem);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"immagine.png", "x.obj.ply", "x.x.mtl",
                                                          "x.x.obj"}));
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("x.obj.ply")).rfind("ply\n", 0), 0u);

    const std::string ply = TemporaryFolder::ReadBytes(folder.File("x.obj.ply"));
    TemporaryFolder::WriteBytes(folder.File("x.x.mtl"), "mio");
    host.boxes.clear();
    host.paths = {folder.File("x.obj"), folder.File("x.x.obj")};
    host.answers = {IDNO, IDNO};
    Choose(*form->exportPlyItem);
    Choose(*form->exportObjItem);
    EXPECT_EQ(host.BoxTexts(),
              (std::vector<std::string>{
                  "Salva / " + folder.File("x.obj.ply") + " esiste gi\xC3\xA0.\nSostituirlo?",
                  "Salva / " + folder.File("x.x.mtl") + " esiste gi\xC3\xA0.\nSostituirlo?"}));
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("x.x.mtl")), "mio") << "kept, as answered";
    EXPECT_EQ(TemporaryFolder::ReadBytes(folder.File("x.obj.ply")), ply);

    // An imported model's project is offered under the model's name, in its folder.
    host.paths = {folder.File("x.obj.ply")};
    Choose(*form->importItem);
    Click(*form->mainToolBar, *form->saveButton);
    EXPECT_EQ(host.offeredNames.back(), folder.File("x.obj.kv3"));
}

TEST_F(FormMainCommandsTest, AnyFileNameIsSavedAndOpenedAsWritten) {
    const std::string folderPath = folder.File("x").substr(0, folder.File("x").size() - 1);
    for (const std::string name : {"prezzo\xE2\x82\xAC_citt\xC3\xA0.kv3",
                                   "\xD0\x9C\xD0\xB8\xD1\x80.kv3"}) {
        const std::string path = folderPath + name;
        form->ApplyMove(3);
        host.paths = {path};
        Choose(*form->saveAsItem);
        EXPECT_NE(GetFileAttributesW(KelUtility::ToWide(path).c_str()), INVALID_FILE_ATTRIBUTES);
        host.paths = {path};
        Choose(*form->openItem);
        EXPECT_EQ(form->statusBar->GetNarrowText(), path);
        EXPECT_EQ(host.BoxTexts().size(), 0u) << host.BoxTexts().back();
    }
}

TEST_F(FormMainCommandsTest, DeletingAVertexTakesItsFacesAndKeepsTheOthersWhole) {
    form->document.Vertices.resize(4);
    form->document.Indices = {0, 1, 2, 1, 2, 3};
    form->document.FaceCount = 2;
    form->LoadControls();
    SendMessageW(form->vertexList->window, LB_SETCURSEL, 0, 0);
    Click(*form->vertexToolBar, *form->vertexDeleteButton);
    EXPECT_EQ(Rows(*form->indexList), (std::vector<std::string>{"1) 0", "2) 1", "3) 2"}));
    EXPECT_EQ(form->facesSpin->GetValue(), 1);
    Tick();
    EXPECT_EQ(form->document.FaceCount, 1);
}

TEST_F(FormMainCommandsTest, DialogsShowAndKeepEveryStoredValue) {
    form->document.Indices = {40000, 65535};
    form->document.Vertices[0] = {-4.571234567, 1e-7, 123456789, 0xFF00FF00u, -0.5f, 0.123456789f};
    form->LoadControls();
    EXPECT_EQ(Rows(*form->indexList), (std::vector<std::string>{"1) 40000", "2) 65535"}));
    SendMessageW(form->indexList->window, LB_SETCURSEL, 0, 0);
    Click(*form->indexToolBar, *form->indexModifyButton);
    Type(*form->indexDialog->indexBox, "\r");
    SendMessageW(form->vertexList->window, LB_SETCURSEL, 0, 0);
    Click(*form->vertexToolBar, *form->vertexModifyButton);
    Type(*form->vertexDialog->xBox, "\r");
    EXPECT_EQ(form->document.Indices[0], 40000);
    EXPECT_EQ(form->document.Vertices[0],
              (MeshVertex{-4.571234567, 1e-7, 123456789, 0xFF00FF00u, -0.5f, 0.123456789f}));

    Click(*form->indexToolBar, *form->indexAddButton);
    Type(*form->indexDialog->indexBox, "65535\r");
    EXPECT_EQ(form->document.Indices.back(), 65535);

    Click(*form->vertexToolBar, *form->vertexAddButton); // a float cannot hold 1e300
    SendMessageW(form->vertexDialog->tvBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->vertexDialog->tvBox, "1e300\r");
    EXPECT_EQ(host.BoxTexts().back().rfind("Attenzione / Tu e Tv devono essere compresi", 0), 0u);
    EXPECT_TRUE(IsWindow(form->vertexDialog->window)) << "the dialog stays open";
    EXPECT_EQ(form->document.Vertices.size(), 12u);
}

// Each list command at the edge of what the mesh can hold: a triangle added where the
// face count left vertices undrawn, Modify and Delete on an empty list, a vertex past the
// reach of a 16-bit index, and coordinates beyond a float.
TEST_F(FormMainCommandsTest, ListCommandsKeepToWhatTheMeshCanHold) {
    const auto enabled = [&](KelUtility::ToolBar& bar, KelUtility::ToolBarItem& item) {
        return SendMessageW(bar.window, TB_ISBUTTONENABLED, item.id, 0) != 0;
    };
    const auto dialogOpen = [&] {
        return (form->vertexDialog && IsWindow(form->vertexDialog->window)) ||
               (form->indexDialog && IsWindow(form->indexDialog->window));
    };
    const struct {
        std::size_t vertices;
        int faces;
        std::vector<std::uint16_t> indices;
        std::vector<std::uint16_t> expected;
        int expectedFaces;
    } triangles[] = {
        {3, 0, {}, {0, 1, 2}, 1},                // a new mesh: the undrawn triple stays out
        {6, 1, {}, {0, 1, 2, 0, 1, 2}, 2},       // only the drawn triple gets its indices
        {12, 4, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2}, 5},
        {6, 1, {3, 4, 5, 0, 1, 2}, {3, 4, 5, 0, 1, 2, 0, 1, 2}, 1}, // one was left undrawn
        {6, 1, {3, 4, 5, 4}, {3, 4, 5, 0, 1, 2, 4}, 2}, // the unfinished one stays last
    };
    for (const auto& c : triangles) {
        SCOPED_TRACE(c.vertices);
        form->document.Vertices.assign(c.vertices, MeshVertex{0, 0, 0, 0, 0, 0});
        form->document.Indices = c.indices;
        form->document.FaceCount = c.faces;
        form->LoadControls();
        Choose(*form->addTriangleItem);
        ASSERT_TRUE(form->indexDialog);
        for (std::size_t box = 0; box < 3; ++box)
            SendMessageW(form->indexDialog->indexBoxes[box]->window, WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(std::to_wstring(box).c_str()));
        Type(*form->indexDialog->indexBoxes[2], "\r");
        EXPECT_EQ(form->document.Indices, c.expected);
        EXPECT_EQ(form->document.FaceCount, c.expectedFaces);
        EXPECT_EQ(form->facesSpin->GetValue(), c.expectedFaces);
    }

    // Empty lists: nothing to modify or delete, by button, key or double click.
    host.answers = {IDNO};
    Choose(*form->newItem);
    const std::size_t boxes = host.BoxTexts().size();
    for (auto* list : {form->vertexList.get(), form->indexList.get()}) {
        const bool vertices = list == form->vertexList.get();
        KelUtility::ToolBar& bar = vertices ? *form->vertexToolBar : *form->indexToolBar;
        EXPECT_FALSE(enabled(bar, vertices ? *form->vertexModifyButton : *form->indexModifyButton));
        EXPECT_FALSE(enabled(bar, vertices ? *form->vertexDeleteButton : *form->indexDeleteButton));
        for (WPARAM key : {VK_RETURN, VK_F2, VK_DELETE})
            SendMessageW(list->window, WM_KEYDOWN, key, 0);
        SendMessageW(list->window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        KelTest::PumpMessages();
    }
    EXPECT_EQ(host.BoxTexts().size(), boxes);
    EXPECT_FALSE(dialogOpen());

    // A coordinate past a float is refused in the dialog, which stays open for another.
    Click(*form->vertexToolBar, *form->vertexAddButton);
    SendMessageW(form->vertexDialog->yBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->vertexDialog->yBox, "1e40\r");
    ASSERT_EQ(host.BoxTexts().size(), boxes + 1);
    EXPECT_EQ(host.BoxTexts().back().rfind("Attenzione / X, Y e Z devono essere compresi tra -", 0),
              0u);
    EXPECT_TRUE(IsWindow(form->vertexDialog->window));
    SendMessageW(form->vertexDialog->yBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->vertexDialog->yBox, "-3e38\r");
    ASSERT_EQ(form->document.Vertices.size(), 1u);
    EXPECT_EQ(form->document.Vertices[0].Y, -3e38);
    EXPECT_TRUE(enabled(*form->vertexToolBar, *form->vertexModifyButton)) << "a row to modify";
    EXPECT_TRUE(enabled(*form->vertexToolBar, *form->vertexDeleteButton));
    form->Undo();
    EXPECT_FALSE(enabled(*form->vertexToolBar, *form->vertexModifyButton)) << "empty again";

    // The vertex a 16-bit index cannot reach is refused by the button and by Insert alike.
    form->document.Vertices.resize(65535);
    Click(*form->vertexToolBar, *form->vertexAddButton);
    SendMessageW(form->vertexList->window, WM_KEYDOWN, VK_INSERT, 0);
    EXPECT_FALSE(dialogOpen());
    const std::string refusal = "Attenzione / Il modello ha gi\xC3\xA0 " + ReportedCount(65535) +
                                " vertici: un altro andrebbe oltre il limite di " +
                                ReportedCount(65535) + ".";
    ASSERT_EQ(host.BoxTexts().size(), boxes + 3);
    EXPECT_EQ(host.BoxTexts()[boxes + 1], refusal);
    EXPECT_EQ(host.BoxTexts()[boxes + 2], refusal);
}

// A number its spin cannot take leaves the spin's minimum in effect; the box shows it as
// soon as no digit typed after could make a number in range, and at Enter.
TEST_F(FormMainCommandsTest, NumberBoxesShowTheValueInEffect) {
    const struct {
        KelUtility::TextBox& box;
        const char* typed;
        const wchar_t* shown;
    } cases[] = {
        {*form->widthBox, "1380", L"50"},      {*form->heightBox, "9999", L"50"},
        {*form->rotationXBox, "400", L"0"},    {*form->rotationZBox, "999", L"0"},
        {*form->widthBox, "2", L"2"},          {*form->widthBox, "0049", L"50"},
        {*form->widthBox, "", L""},            {*form->facesBox, "99999999", L"0"},
        {*form->heightBox, "700", L"700"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SetFocus(c.box.window);
        SendMessageW(c.box.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        Type(c.box, c.typed);
        Tick();
        EXPECT_EQ(c.box.GetText(), c.shown);
    }
    EXPECT_EQ(form->viewport->GetSize().cx, 50);
    EXPECT_EQ(form->viewport->GetSize().cy, 700);
    EXPECT_EQ(form->document.RotX, 0);
    SetFocus(form->widthBox->window);
    SendMessageW(form->widthBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    SendMessageW(form->widthBox->window, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form->widthBox->GetText(), L"50") << "Enter takes the value, and shows it";
}

TEST_F(FormMainCommandsTest, ShownColoursPagesAndMarkedFilesAgreeWithWhatIsStored) {
    MeshDocument saved;
    saved.BackColor = 0x120000FFu; // red, and a byte no colour has
    host.paths = {folder.File("marcato.kv3")};
    TemporaryFolder::WriteBytes(host.paths.front(), "\xEF\xBB\xBF" + saved.ToText());
    Choose(*form->openItem);
    EXPECT_EQ(form->ProjectPath, folder.File("marcato.kv3")) << "the byte-order mark is skipped";
    EXPECT_EQ(form->colorSwatch->backColor, 0x0000FFu);
    EXPECT_EQ(KelTest::DrawFrame(*form->viewport).At(0, 0), 0xFF0000u);

    struct NoBrowser : KelTest::ScriptedHost {
        HINSTANCE RunShellExecute(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                  const wchar_t*, int) override {
            return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
        }
    } noBrowser;
    Choose(*form->guideItem);
    EXPECT_EQ(
        noBrowser.BoxTexts(),
        std::vector<std::string>{"Errore / Impossibile aprire la pagina " + GuidePath() + "."});
}

TEST_F(FormMainCommandsTest, ModelsAreImportedAsUnsavedDocumentsAndExportedInEveryFormat) {
    MeshDocument model;
    // Thousands of units across, far beyond the fixed far plane the editor's meshes use.
    model.Vertices = {{1000, 0, 0, 0xFF, 0, 0}, {3000, 0, 0, 0xFF, 1, 0}, {1000, 2000, 0, 0xFF, 0, 1}};
    model.Indices = {0, 1, 2};
    model.FaceCount = 1;
    std::string message;
    ASSERT_TRUE(ExportModel(model, folder.File("tri.ply"), message)) << message;
    host.paths = {folder.File("tri.ply")};
    Choose(*form->importItem);
    EXPECT_EQ(host.fileDialogTitles.back(), L"Importa");
    EXPECT_EQ(form->document.Vertices.size(), 3u);
    EXPECT_EQ(form->facesSpin->GetValue(), 1);
    EXPECT_GT(KelTest::DrawFrame(*form->viewport).CountOtherThan(0), 1000) << "seen whole";
    EXPECT_EQ(form->ProjectPath, "");
    EXPECT_TRUE(form->Modified) << "not a project yet";

    host.paths = {folder.File("a.obj"), folder.File("a.ply"), folder.File("a.stl"),
                  folder.File("a.glb")};
    for (auto* item : {form->exportObjItem.get(), form->exportPlyItem.get(),
                       form->exportStlItem.get(), form->exportGltfItem.get()})
        Choose(*item);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.glb", "a.mtl", "a.obj", "a.ply",
                                                          "a.stl", "tri.ply"}));
    EXPECT_EQ(host.BoxTexts().back(), "Esporta / Esportazione effettuata correttamente.");

    host.paths = {folder.File("a.obj")}; // the save question first, then a broken file
    TemporaryFolder::WriteBytes(folder.File("a.obj"), "f 1 2 3\n");
    host.answers = {IDNO};
    Choose(*form->importItem);
    EXPECT_EQ(host.BoxTexts().back().rfind("Errore / ", 0), 0u);
    EXPECT_EQ(host.BoxTexts().back().substr(host.BoxTexts().back().rfind('\n') + 1),
              folder.File("a.obj"))
        << "the refusal names the file last";
    EXPECT_EQ(form->document.Vertices.size(), 3u) << "the document is kept";

    form->facesSpin->SetValue(131000); // a closed mesh of 65,535 vertices has this many
    EXPECT_EQ(form->facesSpin->GetValue(), 131000);

    host.paths = {folder.File("sample.x"), folder.File("sample.x")}; // .x through D3DX
    host.answers = {IDNO};
    Choose(*form->newItem);
    form->document.ResetToSample();
    form->LoadControls();
    Choose(*form->exportMeshItem);
    Choose(*form->importItem);
    EXPECT_EQ(form->document.FaceCount, 4);
    EXPECT_EQ(form->document.Indices.size(), 12u);
}

// The picture inside a GLB made by another program reaches the preview; the project saved
// takes a copy beside it and finds it there when opened again, and saved elsewhere still.
TEST_F(FormMainCommandsTest, APictureInsideAGlbIsShownAndSavedBesideTheProject) {
    const char* const box = "Z:\\usr\\share\\assimp\\models\\glTF2\\BoxTextured-glTF-Binary\\"
                            "BoxTextured.glb";
    if (GetFileAttributesA(box) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "assimp-testmodels is not installed";
    const auto textured = [&] {
        KelTest::DrawFrame(*form->viewport);
        Tick();
        return form->viewport->textureCache.size() == 1 &&
               form->viewport->textureCache[0].texture != nullptr;
    };
    host.paths = {box};
    Choose(*form->importItem);
    EXPECT_TRUE(IsKeptPicture(form->document.TextureFile)) << form->document.TextureFile;
    EXPECT_TRUE(textured());

    host.paths = {folder.File("scatola.kv3")};
    Choose(*form->saveAsItem);
    EXPECT_EQ(form->document.TextureFile, "scatola.png");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"scatola.kv3", "scatola.png"}));
    host.paths = {folder.File("scatola.kv3")};
    Choose(*form->openItem);
    EXPECT_TRUE(textured());
    EXPECT_TRUE(host.boxes.empty()) << host.BoxTexts().back();

    // Saved elsewhere, the project names the picture it showed by its whole path.
    CreateDirectoryA(folder.File("altrove").c_str(), nullptr);
    host.paths = {folder.File("altrove\\copia.kv3")};
    Choose(*form->saveAsItem);
    EXPECT_EQ(form->document.TextureFile, folder.File("scatola.png"));

    // Typed letter by letter, a name that does not load is told once, when the box is left.
    SetFocus(form->textureBox->window);
    for (const char* typed : {"m", "ma", "manca.png"}) {
        form->textureBox->SetText(typed);
        Tick();
    }
    EXPECT_TRUE(host.boxes.empty()) << host.BoxTexts().back();
    SetFocus(form->vertexList->window);
    Tick();
    Tick();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].text.find("manca.png non esiste"), std::string::npos);
}

// A project's texture line that names another machine or a device is not opened: the user
// is told once, by name, and the same name chosen with the texture's button is the user's
// word. A device stays closed whoever names it.
TEST_F(FormMainCommandsTest, AProjectsTextureOfAnotherMachineOrADeviceIsNotOpened) {
    const struct {
        const char* texture;
        const char* reason;
        bool opensWhenChosen;
    } cases[] = {
        {"\\\\kel-nessuno\\condivisa\\legno.png", "si trova su un altro computer", true},
        {"\\\\.\\PhysicalDrive0", "il nome di un dispositivo", false},
        {"CON", "il nome di un dispositivo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texture);
        MeshDocument project;
        project.ResetToSample();
        project.TextureFile = c.texture;
        const std::string path = folder.File(std::to_string(&c - cases) + ".kv3");
        TextFile(path).WriteLines(project.ToLines());
        host.paths = {path};
        host.answers = {IDNO}; // the texture chosen last time is not saved
        Choose(*form->openItem);
        host.answers.clear();
        for (int frame = 0; frame < 3; ++frame) {
            KelTest::DrawFrame(*form->viewport);
            Tick();
        }
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_NE(host.boxes[0].text.find(std::string("La texture ") + c.texture + " "),
                  std::string::npos)
            << host.boxes[0].text;
        EXPECT_NE(host.boxes[0].text.find(c.reason), std::string::npos) << host.boxes[0].text;
        EXPECT_TRUE(form->viewport->textureCache.empty()) << "nothing was opened";
        EXPECT_EQ(form->document.TextureFile, c.texture) << "the name is kept for the next save";
        host.boxes.clear();

        host.paths = {c.texture};
        SendMessageW(form->textureButton->window, BM_CLICK, 0, 0);
        KelTest::DrawFrame(*form->viewport);
        Tick();
        EXPECT_EQ(form->viewport->textureCache.size(), c.opensWhenChosen ? 1u : 0u);
        form->viewport->textureCache.clear();
        host.boxes.clear();
    }
}

// A white sphere seen from the front: flat white without light; shaded, brightest where it
// faces the eye and darker towards its rim, and still white nowhere near the rim. The
// edges then draw in a colour of their own. Each look is a menu's check mark.
TEST_F(FormMainCommandsTest, ShadingShowsTheFormOfASphereFromTheFront) {
    MeshDocument& sphere = form->document;
    sphere.Vertices.clear();
    sphere.Indices.clear();
    constexpr int kAround = 32;
    constexpr int kDown = 16;
    for (int row = 0; row <= kDown; ++row) {
        for (int column = 0; column < kAround; ++column) {
            const double polar = 3.141592653589793 * row / kDown;
            const double turn = 2 * 3.141592653589793 * column / kAround;
            sphere.Vertices.push_back({std::sin(polar) * std::cos(turn), std::cos(polar),
                                       std::sin(polar) * std::sin(turn), 0xFFFFFF, 0, 0});
        }
    }
    for (int row = 0; row < kDown; ++row) {
        for (int column = 0; column < kAround; ++column) {
            const auto at = [](int r, int c) { return static_cast<std::uint16_t>(r * kAround + c % kAround); };
            sphere.Indices.insert(sphere.Indices.end(), {at(row, column), at(row + 1, column + 1), at(row + 1, column),
                                                         at(row, column), at(row, column + 1), at(row + 1, column + 1)});
        }
    }
    sphere.FaceCount = static_cast<std::int32_t>(sphere.Indices.size() / 3);
    form->LoadControls();
    Choose(*form->sideItems[0]);
    EXPECT_EQ(form->document.RotY, 0);
    const auto brightness = [&](const KelTest::FramePixels& frame, int dx) {
        return static_cast<int>(frame.At(320 + dx, 240) & 0xFF);
    };
    KelTest::FramePixels frame = KelTest::DrawFrame(*form->viewport);
    EXPECT_EQ(brightness(frame, 0), 255);
    EXPECT_EQ(brightness(frame, 150), 255) << "flat without light";

    Choose(*form->shadedItem);
    EXPECT_TRUE(form->shadedItem->IsChecked());
    frame = KelTest::DrawFrame(*form->viewport);
    const int middle = brightness(frame, 0);
    const int halfway = brightness(frame, 100);
    const int nearRim = brightness(frame, 170);
    EXPECT_GT(middle, halfway);
    EXPECT_GT(halfway, nearRim + 20);
    EXPECT_GT(nearRim, 90) << "the ambient part";

    Choose(*form->edgesItem);
    EXPECT_TRUE(form->edgesItem->IsChecked());
    frame = KelTest::DrawFrame(*form->viewport);
    int coloured = 0;
    for (int dx = -150; dx <= 150; ++dx) {
        const std::uint32_t pixel = frame.At(320 + dx, 240);
        coloured += (pixel >> 16 & 0xFF) != (pixel & 0xFF);
    }
    EXPECT_GT(coloured, 5) << "edges cross the middle row";

    // The tool bar is made again when a command's state changes (the first step enables
    // Annulla); its buttons keep showing the looks.
    Choose(*form->sideItems[3]);
    EXPECT_EQ(form->document.RotY, 90) << "the right side turned to the eye";
    form->mainToolBar->RefreshButtons();
    for (const auto* look : {form->shadedButton.get(), form->edgesButton.get()})
        EXPECT_TRUE(SendMessageW(form->mainToolBar->window, TB_ISBUTTONCHECKED, look->id, 0));
}

// Every dialog names a box left empty; Semplifica takes whole triangles only and leaves a
// mesh it is asked nothing of as it was; a negative factor mirrors the mesh with its faces
// turned, and one that would make its vertices one point is refused.
TEST_F(FormMainCommandsTest, DialogsNameEmptyBoxesAndRefuseWhatTheMeshCannotTake) {
    OpenTwoTrianglesWithACopiedCorner();
    const auto clear = [](KelUtility::GUIElement& box) {
        SendMessageW(box.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    };

    Choose(*form->simplifyItem);
    ASSERT_TRUE(form->simplifyDialog);
    KelUtility::CurrencyBox& count = *form->simplifyDialog->countBox;
    clear(count);
    Type(count, std::string("1") + static_cast<char>(count.decimalSeparator) + "5\r");
    EXPECT_EQ(host.BoxTexts().back(),
              "Attenzione / I triangoli devono essere un numero intero, almeno 1 e al massimo 2.");
    clear(count);
    Type(count, "\r");
    EXPECT_EQ(host.BoxTexts().back(), "Attenzione / Manca il valore di Triangoli: scrivere un numero.");
    clear(count);
    Type(count, "2\r");
    EXPECT_EQ(host.BoxTexts().back(),
              "Semplifica / La mesh ha gi\xC3\xA0 2 triangoli: non \xC3\xA8 cambiato nulla.");
    EXPECT_EQ(form->document.Vertices.size(), 4u) << "the copy of a vertex stays";
    EXPECT_EQ(form->document.Indices, (std::vector<std::uint16_t>{0, 1, 2, 0, 3, 2}));

    Choose(*form->transformItem);
    ASSERT_TRUE(form->transformDialog);
    clear(*form->transformDialog->factorBox);
    Type(*form->transformDialog->factorBox, "-2\r");
    EXPECT_EQ(host.BoxTexts().back(), "Trasforma / La trasformazione \xC3\xA8 stata applicata ai vertici.");
    EXPECT_EQ(form->document.Vertices[1].X, -2);
    EXPECT_EQ(form->document.Indices, (std::vector<std::uint16_t>{0, 2, 1, 0, 2, 3}));
    Choose(*form->transformItem);
    clear(*form->transformDialog->factorBox);
    Type(*form->transformDialog->factorBox, "1e-40\r");
    EXPECT_EQ(host.BoxTexts().back().rfind("Attenzione / La trasformazione farebbe coincidere", 0), 0u);
    EXPECT_TRUE(IsWindow(form->transformDialog->window)) << "the dialog stays open";
    clear(*form->transformDialog->moveBoxes[1]);
    Type(*form->transformDialog->factorBox, "\r");
    EXPECT_EQ(host.BoxTexts().back(), "Attenzione / Manca il valore di Sposta Y: scrivere un numero.");
    Type(*form->transformDialog->okButton, "\x1b");
    EXPECT_EQ(form->document.Vertices[1].X, -2);

    Click(*form->vertexToolBar, *form->vertexAddButton);
    clear(*form->vertexDialog->xBox);
    Type(*form->vertexDialog->xBox, "\r");
    EXPECT_EQ(host.BoxTexts().back(), "Attenzione / Manca il valore di X: scrivere un numero.");
    EXPECT_TRUE(IsWindow(form->vertexDialog->window)) << "the dialog stays open";
    Type(*form->vertexDialog->xBox, "3\r");
    ASSERT_EQ(form->document.Vertices.size(), 5u);
    EXPECT_EQ(form->document.Vertices[4].X, 3);
}

// Each tool is one step that the lists and the preview show at once and an undo takes back;
// a model past the document's vertices comes in simplified only when the user says so.
TEST_F(FormMainCommandsTest, MeshToolsAreStepsAndAModelPastTheLimitIsSimplifiedOnRequest) {
    OpenTwoTrianglesWithACopiedCorner();
    Choose(*form->cleanItem);
    EXPECT_EQ(host.BoxTexts().back(), "Pulisci / Vertici rimossi: 1\nTriangoli rimossi: 1");
    EXPECT_EQ(Rows(*form->vertexList).size(), 3u);
    EXPECT_EQ(form->facesSpin->GetValue(), 1);
    EXPECT_TRUE(form->Modified);

    Choose(*form->transformItem);
    ASSERT_TRUE(form->transformDialog);
    SendMessageW(form->transformDialog->turnBox->window, CB_SETCURSEL, 1, 0); // X +90
    SendMessageW(form->transformDialog->factorBox->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*form->transformDialog->factorBox, "2\r");
    EXPECT_EQ(host.BoxTexts().back(), "Trasforma / La trasformazione \xC3\xA8 stata applicata ai vertici.");
    EXPECT_EQ(Rows(*form->vertexList)[2], "3) 0 0 2");

    Choose(*form->undoItem);
    EXPECT_EQ(Rows(*form->vertexList)[2], "3) 0 1 0");
    Choose(*form->undoItem);
    EXPECT_EQ(Rows(*form->vertexList).size(), 4u);
    EXPECT_EQ(form->facesSpin->GetValue(), 2);
    EXPECT_EQ(form->document.Indices, (std::vector<std::uint16_t>{0, 1, 2, 0, 3, 2}));

    // 301 × 301 vertices.
    std::string grid;
    for (int y = 0; y <= 300; ++y)
        for (int x = 0; x <= 300; ++x)
            grid += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    for (int y = 0; y < 300; ++y)
        for (int x = 1; x <= 300; ++x)
            grid += "f " + std::to_string(y * 301 + x) + " " + std::to_string(y * 301 + x + 1) +
                    " " + std::to_string(y * 301 + x + 302) + " " + std::to_string(y * 301 + x + 301) + "\n";
    TemporaryFolder::WriteBytes(folder.File("grid.obj"), grid);
    host.paths = {folder.File("grid.obj"), folder.File("grid.obj")};
    host.answers = {IDNO, IDYES}; // back where it started, nothing to save: only the question
    Choose(*form->importItem);
    EXPECT_EQ(host.BoxTexts().back(), "Importa / Il modello non \xC3\xA8 stato importato.\n" +
                                          folder.File("grid.obj"));
    // The count is written in the user's groups, whichever they are.
    EXPECT_EQ(host.boxes[host.boxes.size() - 2].text.rfind("Il modello richiede 90", 0), 0u);
    EXPECT_EQ(form->document.Vertices.size(), 4u);
    Choose(*form->importItem);
    EXPECT_EQ(host.BoxTexts().back().rfind("Importa / Il modello \xC3\xA8 stato semplificato da " +
                                               ReportedCount(180000) + " a ", 0),
              0u);
    EXPECT_LE(form->document.Vertices.size(), 65535u);
    EXPECT_EQ(Rows(*form->vertexList).size(), form->document.Vertices.size());
}

// Save writes over no file its owner marked read-only, offering another name instead, and
// over none another program changed since it was opened or saved unless the user says so.
TEST_F(FormMainCommandsTest, SaveKeepsToFilesTheUserAndOtherProgramsHold) {
    const std::string kept = folder.File("tenuto.kv3");
    MeshDocument sample;
    sample.ResetToSample();
    TextFile(kept).WriteText(sample.ToText());
    ASSERT_TRUE(form->OpenProjectFile(kept));
    ASSERT_TRUE(SetFileAttributesW(KelUtility::ToWide(kept).c_str(), FILE_ATTRIBUTE_READONLY));
    form->ApplyMove(2);
    const std::string other = folder.File("altro.kv3");
    host.answers = {IDYES};
    host.paths = {other};
    Choose(*form->saveItem);
    EXPECT_EQ(host.BoxTexts(), std::vector<std::string>{
                                   "Salva / Il progetto " + kept +
                                   " \xC3\xA8 di sola lettura e non viene sovrascritto.\nVuoi "
                                   "salvarlo con un altro nome?"});
    EXPECT_EQ(form->ProjectPath, other);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(TemporaryFolder::ReadBytes(kept), sample.ToText());
    EXPECT_NE(GetFileAttributesW(KelUtility::ToWide(kept).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesW(KelUtility::ToWide(kept).c_str(), FILE_ATTRIBUTE_NORMAL);

    form->ApplyMove(1); // saved by this editor since: no question
    Choose(*form->saveItem);
    EXPECT_EQ(host.BoxTexts().size(), 1u);
    EXPECT_FALSE(form->Modified);

    TemporaryFolder::WriteBytes(other, "KEL MORVANE\r\n"); // another program saves it
    form->ApplyMove(3);
    host.answers = {IDNO};
    Choose(*form->saveItem);
    ASSERT_EQ(host.BoxTexts().size(), 2u);
    EXPECT_EQ(host.BoxTexts()[1], "Salva / Il progetto " + other +
                                      " \xC3\xA8 stato modificato da un altro programma dopo "
                                      "l'ultima apertura o salvataggio.\nSovrascriverlo con "
                                      "questa versione?");
    EXPECT_EQ(TemporaryFolder::ReadBytes(other), "KEL MORVANE\r\n");
    EXPECT_TRUE(form->Modified);
    host.answers = {IDYES};
    Choose(*form->saveItem);
    EXPECT_EQ(TemporaryFolder::ReadBytes(other), form->document.ToText());
    EXPECT_FALSE(form->Modified);
}
