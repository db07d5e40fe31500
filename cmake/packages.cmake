# The packages that make dist writes (docs/packages.md), one per platform, made by CPack from the
# install rules below:
#   quillset-VERSION-win32.zip, -win64.zip   in the release trees (QUILLSET_RELEASE): the shipped
#                                            programs, qscheck.exe and qsmedia.exe of that target
#   quillset-VERSION-linux-x86_64.tar.gz     in the tools tree (without sanitizers): the native
#                                            qscheck and qsmedia, Setup.exe, QSUninstall.exe and QSStarter.exe
#                                            of the i686 release tree (QUILLSET_DIST_WINDOWS_PROGRAMS),
#                                            and qsrun with the x86_64 release tree's driver
#                                            (QUILLSET_DIST_QSRUN_DRIVER)
# Each holds quillset-VERSION-PLATFORM/ with bin/ (the programs side by side, so that qsmedia finds
# Setup.exe, QSUninstall.exe, QSStarter.exe and qscheck without options), README.md and docs/, and demo/ (the demo
# medium's description and its tree). The other trees get no install rules.
set(QUILLSET_DIST_DIRECTORY "" CACHE PATH
    "The folder of make dist's packages: cpack writes this tree's package there, the package tests read them from there")
set(QUILLSET_DIST_WINDOWS_PROGRAMS "" CACHE PATH
    "The i686 release build whose Setup.exe, QSUninstall.exe and demo program the Linux package carries")
set(QUILLSET_DIST_QSRUN_DRIVER "" CACHE FILEPATH
    "The qsrun-driver.exe of the x86_64 release build, which the Linux package's qsrun starts under Wine")

if(WIN32 AND QUILLSET_RELEASE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(platform win64)
  else()
    set(platform win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  install(TARGETS Setup QSUninstall QSStarter qscheck qsmedia RUNTIME DESTINATION bin)
  # The files alone: an install(TARGETS) of the library would add its import library.
  install(FILES $<TARGET_FILE:QuillDemo> DESTINATION demo/tree/program)
  install(FILES $<TARGET_FILE:quilldemo_lib> DESTINATION demo/tree/shared)
elseif(NOT WIN32 AND QUILLSET_DIST_WINDOWS_PROGRAMS)
  if(QUILLSET_SANITIZE OR QUILLSET_FUZZ)
    message(FATAL_ERROR "The Linux package holds the tools as users run them: configure it with "
                        "-DQUILLSET_SANITIZE=OFF and without QUILLSET_FUZZ (make dist does)")
  endif()
  set(platform linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GENERATOR TGZ)
  install(TARGETS qscheck qsmedia RUNTIME DESTINATION bin)
  # What qsmedia copies onto a medium, and the starter of --single-file: the 32-bit programs,
  # which run on every Windows.
  install(FILES ${QUILLSET_DIST_WINDOWS_PROGRAMS}/Setup.exe ${QUILLSET_DIST_WINDOWS_PROGRAMS}/QSUninstall.exe
                ${QUILLSET_DIST_WINDOWS_PROGRAMS}/QSStarter.exe DESTINATION bin)
  # qsrun: the launcher and its Wine session, made by this tree, and the driver they start.
  if(NOT QUILLSET_DIST_QSRUN_DRIVER)
    message(FATAL_ERROR "The Linux package holds qsrun: name the x86_64 release build's qsrun-driver.exe "
                        "with -DQUILLSET_DIST_QSRUN_DRIVER (make tools does)")
  endif()
  # The hook library the driver sets on the walked program lies beside the driver.
  get_filename_component(qsrun_driver_directory ${QUILLSET_DIST_QSRUN_DRIVER} DIRECTORY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/qsrun-package/qsrun DESTINATION bin)
  install(FILES ${CMAKE_BINARY_DIR}/qsrun-package/qsrun-wine-session.sh ${QUILLSET_DIST_QSRUN_DRIVER}
                ${qsrun_driver_directory}/qsrun-pages.dll DESTINATION bin)
  install(FILES ${QUILLSET_DIST_WINDOWS_PROGRAMS}/demo-payload/QuillDemo.exe DESTINATION demo/tree/program)
  install(FILES ${QUILLSET_DIST_WINDOWS_PROGRAMS}/demo-payload/quilldemo.dll DESTINATION demo/tree/shared)
  # cpack installs without building everything first (the unit tests are no part of the package);
  # make dist builds qscheck and qsmedia before it packs.
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
else()
  return()
endif()

# The documentation: above docs/, as README.md, a getting-started page for the vendor who unpacks
# the package (docs/package/README.md, whose links lead into docs/).
install(FILES docs/package/README.md DESTINATION .)
file(GLOB documents CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${documents} DESTINATION docs)
install(DIRECTORY docs/images DESTINATION docs)

# The demo medium: its description and the tree laid out as the description expects (as
# tools/demo.sh lays it out), with one small sample file in place of the generated sample data.
install(FILES examples/demo/medium.txt DESTINATION demo)
install(DIRECTORY examples/demo/files DESTINATION demo/tree)
install(DIRECTORY examples/demo/samples DESTINATION demo/tree)

set(CPACK_PACKAGE_NAME quillset)
set(CPACK_PACKAGE_VENDOR "Quillset Developers")
set(CPACK_PACKAGE_FILE_NAME quillset-${PROJECT_VERSION}-${platform})
if(QUILLSET_DIST_DIRECTORY)
  set(CPACK_OUTPUT_FILE_PREFIX ${QUILLSET_DIST_DIRECTORY})
endif()
include(CPack)
