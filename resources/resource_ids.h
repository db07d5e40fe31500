/*
 * Identifiers of Setup.exe's resources: the dialog templates, the welcome bitmap and every control
 * the program addresses by ID. Plain macros, so that both setup.rc and the C++ code include this file.
 *
 * Several control IDs are used on more than one dialog with a different role (1011 is the path edit
 * of the destination page, the description of the sections page and the group name of the program
 * group page). Each role has its own name below, grouped by dialog; use the name of the dialog at hand.
 */
#ifndef QUILLSET_RESOURCE_IDS_H
#define QUILLSET_RESOURCE_IDS_H

/* Dialog templates: the five wizard pages and the two file conflict questions. */
#define IDD_WELCOME                    101
#define IDD_SECTIONS                   105
#define IDD_DESTINATION                106
#define IDD_COPY                       111
#define IDD_PROGRAM_GROUP              113
#define IDD_LANGUAGE_CONFLICT          115
#define IDD_OVERWRITE                  116

/* Bitmap drawn on the welcome page (a different resource type, so it may share 106 with a dialog). */
#define IDB_WELCOME                    106

/* Controls without an ID of their own (labels, group boxes). */
#ifndef IDC_STATIC
#define IDC_STATIC                     (-1)
#endif

/* Button row shared by the welcome, destination, sections and program group pages.
   The copy page has only the Cancel button. */
#define IDC_NEXT                       1017
#define IDC_CANCEL                     1018
#define IDC_LAST                       5       /* never visible, never used */

/* Welcome page (IDD_WELCOME). */
#define IDC_WELCOME_TEXT2              1000    /* second welcome text */
#define IDC_WELCOME_TEXT               1001    /* first welcome text */

/* Destination page (IDD_DESTINATION). */
#define IDC_DEST_PATH_LABEL            1010
#define IDC_DEST_PATH                  1011    /* edit: the installation directory */
#define IDC_DEST_CHOOSE                1012    /* opens the folder browser */
#define IDC_DEST_FREE_SPACE            1013    /* read-only edit: free space in kb */
#define IDC_DEST_AUTOMATIC             1014    /* hidden: no automatic search exists */
#define IDC_DEST_ASK_CREATE            1029    /* check box: ask before accepting a missing directory */

/* Sections page (IDD_SECTIONS). */
#define IDC_SECTIONS_INSTRUCTION       1003
#define IDC_SECTION_LIST               1009    /* list view, one row per section */
#define IDC_SECTION_DESCRIPTION        1011    /* read-only multi-line edit */
#define IDC_SECTION_COMMENT_LABEL      1019
#define IDC_SECTION_MUST_INSTALL       1024    /* static, shown for must-install sections */
#define IDC_SECTION_INSTALL            1025    /* check box, shown for optional sections */

/* Program group page (IDD_PROGRAM_GROUP). */
#define IDC_GROUP_HEADING              1003
#define IDC_GROUP_NEW_NAME             1011    /* edit: name of the new group */
#define IDC_GROUP_EXISTING_PATH        1013    /* read-only edit: the folder chosen with Browse */
#define IDC_GROUP_BROWSE               1014
#define IDC_GROUP_CREATE_NEW           1030    /* option 1 */
#define IDC_GROUP_USE_EXISTING         1031    /* option 2 */
#define IDC_GROUP_NONE                 1032    /* option 3 */

/* Copy page (IDD_COPY). */
#define IDC_COPY_SECTION_LABEL         1026
#define IDC_COPY_FILE_PROGRESS         1027
#define IDC_COPY_SECTION_PROGRESS      1028
#define IDC_COPY_SECTION_NAME          1033
#define IDC_COPY_FILE_NAME             1034

/* Language or code page conflict (IDD_LANGUAGE_CONFLICT). */
#define IDC_CONFLICT_INSTALL_ALL       1012
#define IDC_CONFLICT_DEST_FILE         1035
#define IDC_CONFLICT_DEST_LANGUAGE     1036
#define IDC_CONFLICT_SOURCE_FILE       1037
#define IDC_CONFLICT_SOURCE_LANGUAGE   1038
#define IDC_CONFLICT_DEST_CODEPAGE     1039
#define IDC_CONFLICT_SOURCE_CODEPAGE   1040
#define IDC_CONFLICT_YES               1041
#define IDC_CONFLICT_NO                1042

/* Overwrite question (IDD_OVERWRITE). */
#define IDC_OVERWRITE_YES              1012
#define IDC_OVERWRITE_PATH             1034    /* read-only edit: the existing file */
#define IDC_OVERWRITE_NO               1043
#define IDC_OVERWRITE_ALL              1044    /* "Overwrite every file" */

#endif /* QUILLSET_RESOURCE_IDS_H */
