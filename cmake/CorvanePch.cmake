# Precompiled headers. Parsing the Qt, standard-library and GoogleTest headers
# again in every file was most of a fresh build. Each family of headers is
# compiled once, by a target of its own, and every other target of the family
# reuses it (REUSE_FROM), so no library pays for its own copy.
#
# GCC uses a precompiled header only where every macro the headers test is
# defined alike: all targets share the compile options, and the lists below
# hold no header that tests a per-target macro (QTest reads the test folder's
# QT_TESTCASE_BUILDDIR, so it stays out). A mismatch is a -Winvalid-pch warning,
# an error with WERROR=1. The sources keep including what they use, so the
# tree still builds with -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON.
#
# ccache needs -fpch-preprocess to hash a file built on GCC's precompiled header
# (and CCACHE_SLOPPINESS=pch_defines,time_macros, which the Makefile sets).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fpch-preprocess)
endif()

# core: every library, Qt Core only (the engine and the tools must never see a widget).
set(CORVANE_PCH_CORE
    <algorithm> <array> <functional> <memory> <optional> <string> <utility> <vector>
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QList>
    <QObject> <QPointer> <QString> <QStringList> <QTextStream> <QTimer>)
# widgets: the windows and their programs.
set(CORVANE_PCH_WIDGETS ${CORVANE_PCH_CORE}
    <QApplication> <QCheckBox> <QDialog> <QHBoxLayout> <QLabel> <QLineEdit> <QMessageBox>
    <QPushButton> <QVBoxLayout> <QWidget>)

# corvane_pch_<family>(): the target that compiles the family's header once.
# Its only source is empty; the header comes in with the precompiled header.
file(WRITE ${PROJECT_BINARY_DIR}/generated/pch_anchor.cpp "// Compiles the precompiled header only.\n")
function(corvane_pch_target name headers libs)
  add_library(${name} OBJECT ${PROJECT_BINARY_DIR}/generated/pch_anchor.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  target_link_libraries(${name} PRIVATE ${libs})
  target_precompile_headers(${name} PRIVATE ${headers})
endfunction()
corvane_pch_target(corvane_pch_core "${CORVANE_PCH_CORE}" Qt6::Core)
corvane_pch_target(corvane_pch_widgets "${CORVANE_PCH_WIDGETS}" Qt6::Widgets)

# corvane_use_pch(TARGET FAMILY): TARGET's sources start with FAMILY's headers
# (core, widgets or test).
function(corvane_use_pch target family)
  target_precompile_headers(${target} REUSE_FROM corvane_pch_${family})
endfunction()
