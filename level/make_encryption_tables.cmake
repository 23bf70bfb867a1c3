# Writes the C++ source of the fourth-game encryption tables from data/tr4-encryption-tables.txt
# (run as cmake -DIN=... -DOUT=... -P), keeping the text's licence notice as the source's own
# comment: the values come with it. Plain CMake, so a cross build needs no host tool.
file(STRINGS "${IN}" lines)
set(notice "")
set(key "")
set(map "")
set(keyRows 0)
set(mapRows 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#")
    string(REGEX REPLACE "^# ?" "" text "${line}")
    string(APPEND notice "// ${text}\n")
  elseif(line MATCHES "^(KEY|MAP) +([0-9]+) +(.*)$")
    set(kind "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_3}" hex)
    string(REGEX REPLACE " +" ";" bytes "${hex}")
    list(LENGTH bytes n)
    set(row "")
    foreach(byte IN LISTS bytes)
      string(APPEND row "0x${byte},")
    endforeach()
    if(kind STREQUAL "KEY")
      if(NOT n EQUAL 99)
        message(FATAL_ERROR "${IN}: a KEY row holds ${n} bytes, not 99")
      endif()
      string(APPEND key "    {{${row}}},\n")
      math(EXPR keyRows "${keyRows} + 1")
    else()
      if(NOT n EQUAL 50)
        message(FATAL_ERROR "${IN}: a MAP row holds ${n} bytes, not 50")
      endif()
      string(APPEND map "    {{${row}}},\n")
      math(EXPR mapRows "${mapRows} + 1")
    endif()
  endif()
endforeach()
if(NOT keyRows EQUAL 16 OR NOT mapRows EQUAL 16)
  message(FATAL_ERROR "${IN}: ${keyRows} KEY and ${mapRows} MAP rows, not 16 of each")
endif()
file(WRITE "${OUT}.new" "// Generated from data/tr4-encryption-tables.txt by level/make_encryption_tables.cmake.
//
${notice}
#include \"level/encryption.h\"

namespace slab {

const EncryptionTables kTr4EncryptionTables = {
  {{
${key}  }},
  {{
${map}  }},
};

}  // namespace slab
")
# Only a changed source is rebuilt.
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
