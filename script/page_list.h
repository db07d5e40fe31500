// The five built-in wizard pages, as the script knows them. Each is described once, in
// QUILLSET_PAGES: the statement that shows it and the PageName by which statements refer to it.
// The window side (wizard/page_frame.cpp) adds each page's dialog template and procedure in a table
// of its own, in the same order, and checks that order at compile time.
#pragma once

#include <string>

// PAGE(member, statement, PageName), in the order of the Page enum.
#define QUILLSET_PAGES(PAGE)                                  \
    PAGE(Welcome, "ShowWelcome", "DIALOG_WELCOME")            \
    PAGE(Destination, "ShowDest", "DIALOG_DEST")              \
    PAGE(Sections, "ShowSections", "DIALOG_SECTIONS")         \
    PAGE(ProgramGroup, "ShowProgramGroup", "DIALOG_PROGRAMGROUP") \
    PAGE(Copy, "ShowCopy", "DIALOG_COPY")

namespace quillset {

#define QUILLSET_PAGE_MEMBER(member, statement, name) member,
enum class Page { QUILLSET_PAGES(QUILLSET_PAGE_MEMBER) };
#undef QUILLSET_PAGE_MEMBER

struct PageDescription {
    Page page;
    const char* statement;  // the command that shows the page; it takes no arguments
    const char* name;       // the PageName
};

#define QUILLSET_PAGE_DESCRIPTION(member, statement, name) {Page::member, statement, name},
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
