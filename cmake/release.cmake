# The release number and date, from the newest entry of debian/changelog: the one place a
# release is named. The Debian package, the Windows installer, the software-centre metadata,
# the file names and the welcome splash all take it from there.
function(centinela_read_release changelog)
    file(STRINGS ${changelog} heading LIMIT_COUNT 1 ENCODING UTF-8)
    if(NOT heading MATCHES "^centinela \\(([0-9]+\\.[0-9]+\\.[0-9]+)\\)")
        message(FATAL_ERROR "${changelog} does not start with a release of the form 1.2.3")
    endif()
    set(version ${CMAKE_MATCH_1})
    # The entry's trailer: " -- Maintainer <address>  Mon, 07 Dec 2026 12:00:00 +0000".
    file(STRINGS ${changelog} trailer REGEX "^ -- " LIMIT_COUNT 1 ENCODING UTF-8)
    if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        message(FATAL_ERROR "${changelog}: no date in the newest entry's trailer")
    endif()
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    # Two digits each: 101 to 112 and 101 to 131, less their first digit.
    math(EXPR month "${month} + 101")
    math(EXPR day "${day} + 100")
    string(SUBSTRING ${month} 1 2 month)
    string(SUBSTRING ${day} 1 2 day)
    set(CENTINELA_RELEASE_VERSION ${version} PARENT_SCOPE)
    set(CENTINELA_RELEASE_DATE ${year}-${month}-${day} PARENT_SCOPE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
endfunction()
