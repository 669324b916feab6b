# What a Windows build adds: programs that stand alone and are as small as the toolchain makes
# them.

if(MINGW)
    # mingw's libstdc++, libgcc and winpthread linked in, so that only system DLLs are
    # imported; in Release our code optimised for size, unused sections dropped, no symbols.
    # No link time in the headers: the same sources give the same program.
    target_compile_options(centinela_warnings INTERFACE
        $<$<CONFIG:Release>:-Os -ffunction-sections -fdata-sections>)
    target_link_options(centinela_warnings INTERFACE -static -Wl,--no-insert-timestamp
        $<$<CONFIG:Release>:-Wl,--gc-sections -s>)
endif()

# A static Qt goes inside the program, with only the plugins it uses: the Windows platform and
# the ICO reader (its style is Fusion, which is built in). A shared one is deployed beside it.
function(centinela_bundle_qt target)
    get_target_property(qt_type Qt6::Core TYPE)
    if(qt_type STREQUAL "STATIC_LIBRARY")
        qt_import_plugins(${target} EXCLUDE_BY_TYPE styles EXCLUDE Qt6::QGifPlugin)
        return()
    endif()
    # The keyword that names the generated script changed in Qt 6.5.
    if(Qt6_VERSION VERSION_LESS 6.5)
        qt_generate_deploy_app_script(TARGET ${target}
            FILENAME_VARIABLE deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
    else()
        qt_generate_deploy_app_script(TARGET ${target}
            OUTPUT_SCRIPT deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
    endif()
    install(SCRIPT ${deploy_script})
endfunction()
