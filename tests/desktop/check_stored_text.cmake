cmake_minimum_required(VERSION 3.25)

# Fails when a desktop source converts between std::string and QString anywhere but the one
# seam (desktop/document/stored_text.*): stored text is Windows-1252, never UTF-8 or Latin-1.
file(GLOB_RECURSE files "${ROOT}/desktop/*.h" "${ROOT}/desktop/*.cpp")
set(offenders "")
foreach(f ${files})
    if(f MATCHES "/desktop/document/stored_text\\.(h|cpp)$")
        continue()
    endif()
    file(STRINGS "${f}" lines REGEX "fromStdString|toStdString|fromLocal8Bit|toLocal8Bit")
    foreach(line ${lines})
        list(APPEND offenders "${f}: ${line}")
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n" text)
    message(FATAL_ERROR "Text converted outside desktop/document/stored_text:\n${text}")
endif()
