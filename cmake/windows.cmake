# What a Windows build adds: programs that stand alone and are as small as the toolchain makes
# them, and the Qt DLLs beside the program when Qt itself is a shared build.

if(MINGW)
    # mingw's libstdc++, libgcc and winpthread linked in, so that only system DLLs are
    # imported; in Release our code optimised for size, unused sections dropped, no symbols.
    target_compile_options(centinela_warnings INTERFACE
        $<$<CONFIG:Release>:-Os -ffunction-sections -fdata-sections>)
    target_link_options(centinela_warnings INTERFACE -static
        $<$<CONFIG:Release>:-Wl,--gc-sections -s>)
endif()

function(centinela_deploy_qt target)
    # A static Qt is inside the program already.
    get_target_property(qt_type Qt6::Core TYPE)
    if(qt_type STREQUAL "STATIC_LIBRARY")
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
