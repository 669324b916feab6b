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

# Windows looks for every imported DLL outside its KnownDLLs in the program's folder first, where
# a download may lie beside a portable program. These are loaded on first use instead (mingw's
# __delayLoadHelper2), after Platform::loadLibrariesFromSystemOnly() has restricted the search
# to the system folder: each import library is shadowed by a delay-loading one of its name.
function(centinela_delay_load target)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-load)
    file(MAKE_DIRECTORY ${folder})
    foreach(dll IN LISTS ARGN)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
            OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        execute_process(COMMAND ${CMAKE_NM} ${import_library}
            OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL " I __imp_[^\n]+" functions "${symbols}")
        list(TRANSFORM functions REPLACE " I __imp_" "")
        list(JOIN functions "\n" functions)
        file(WRITE ${folder}/${dll}.def "EXPORTS\n${functions}\n")
        execute_process(COMMAND ${CMAKE_DLLTOOL} --def ${folder}/${dll}.def --dllname ${dll}.dll
            --output-delaylib ${folder}/lib${dll}.a COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    target_link_directories(${target} PRIVATE ${folder})
endfunction()
