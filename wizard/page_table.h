// The five built-in wizard pages. Each is described once, in QUILLSET_PAGES: the statement that
// shows it, the PageName by which statements refer to it, its dialog template and its page
// procedure. kPageTable holds the portable columns, for the interpreter, qscheck and the page
// frame; only the page frame (page_frame.cpp), which sees the Win32 procedures, expands the
// procedure column. So no other place can disagree about a page.
#pragma once

#include <string>

#include "resource_ids.h"

// PAGE(member, statement, PageName, template ID, procedure), in the order of the Page enum.
#define QUILLSET_PAGES(PAGE)                                                                      \
    PAGE(Welcome, "ShowWelcome", "DIALOG_WELCOME", IDD_WELCOME, WelcomePageProc)                   \
    PAGE(Destination, "ShowDest", "DIALOG_DEST", IDD_DESTINATION, DestinationPageProc)             \
    PAGE(Sections, "ShowSections", "DIALOG_SECTIONS", IDD_SECTIONS, SectionsPageProc)              \
    PAGE(ProgramGroup, "ShowProgramGroup", "DIALOG_PROGRAMGROUP", IDD_PROGRAM_GROUP, ProgramGroupPageProc) \
    PAGE(Copy, "ShowCopy", "DIALOG_COPY", IDD_COPY, CopyPageProc)

namespace quillset {

#define QUILLSET_PAGE_MEMBER(member, statement, name, templateId, procedure) member,
enum class Page { QUILLSET_PAGES(QUILLSET_PAGE_MEMBER) };
#undef QUILLSET_PAGE_MEMBER

struct PageDescription {
    Page page;
    const char* statement;  // the command that shows the page; it takes no arguments
    const char* name;       // the PageName
    int templateId;
};

#define QUILLSET_PAGE_DESCRIPTION(member, statement, name, templateId, procedure) \
    {Page::member, statement, name, templateId},
inline constexpr PageDescription kPageTable[] = {QUILLSET_PAGES(QUILLSET_PAGE_DESCRIPTION)};
#undef QUILLSET_PAGE_DESCRIPTION

inline const PageDescription& describePage(Page page) { return kPageTable[static_cast<int>(page)]; }

// The PageName of a page ("DIALOG_WELCOME", ...).
inline const char* pageName(Page page) { return describePage(page).name; }

// The page with this PageName, or nullptr. Names are compared exactly.
inline const PageDescription* findPageNamed(const std::string& name) {
    for (const PageDescription& page : kPageTable)
        if (name == page.name) return &page;
    return nullptr;
}

// The page that this statement shows, or nullptr. Names are compared exactly.
inline const PageDescription* findPageShownBy(const std::string& statement) {
    for (const PageDescription& page : kPageTable)
        if (statement == page.statement) return &page;
    return nullptr;
}

}  // namespace quillset
