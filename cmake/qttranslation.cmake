# Qt's own texts (standard buttons, context menus, the command line's messages) in Spanish:
# Debian's translation of this very Qt, compiled into the resources as ":/i18n/qtbase_es.qm", so
# that the Linux and Windows programs say the same and nothing stands beside either of them.

set(CENTINELA_QT_TRANSLATION /usr/share/qt6/translations/qtbase_es.qm CACHE FILEPATH
    "Qt's Spanish translation (Debian's qt6-translations-l10n) of the Qt the program is built with")

function(centinela_add_qt_translation target)
    set(file ${CENTINELA_QT_TRANSLATION})
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "Qt's Spanish translation ${file} is missing: install Debian's "
            "qt6-translations-l10n (bash tools/install-deps) or give CENTINELA_QT_TRANSLATION.")
    endif()
    # A translation of another Qt would miss or misplace the texts of this one.
    execute_process(COMMAND dpkg-query -S ${file} OUTPUT_VARIABLE owner ERROR_QUIET)
    if(owner MATCHES "^qt6-translations-l10n:")
        execute_process(COMMAND dpkg-query -W -f=\${Version} qt6-translations-l10n
            OUTPUT_VARIABLE version)
        string(REGEX REPLACE "^([0-9]+:)?([0-9.]+).*" "\\2" upstream "${version}")
        if(NOT upstream VERSION_EQUAL Qt6_VERSION)
            message(FATAL_ERROR "Qt's translation is of Qt ${upstream} (qt6-translations-l10n "
                "${version}), the program is built with Qt ${Qt6_VERSION}: they must be the same.")
        endif()
    endif()
    set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS qtbase_es.qm)
    # Uncompressed, so that QTranslator reads it where it lies instead of unpacking a copy.
    qt_add_resources(${target} qt_translation PREFIX /i18n FILES ${file} OPTIONS --no-compress)
endfunction()
