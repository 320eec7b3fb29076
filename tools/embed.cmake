# Writes OUT, a C++ source holding the runtime's files as text, so that
# mirl-tool can cut players out of the very sources the runtime is built
# from. Usage: cmake -DOUT=file.cpp -DDIR=runtime -DFILES="a;b" -P embed.cmake
set(text "// Generated from the runtime's sources by tools/embed.cmake; do not edit.\n")
string(APPEND text "#include \"playergen.h\"\n\nconst SourceFile RuntimeSources[] = {\n")
foreach(name IN LISTS FILES)
    file(READ "${DIR}/${name}" content)
    string(FIND "${content}" ")mirlsrc\"" clash)
    if(NOT clash EQUAL -1)
        message(FATAL_ERROR "${name} holds the raw string delimiter")
    endif()
    string(APPEND text "    {\"${name}\", R\"mirlsrc(${content})mirlsrc\"},\n")
endforeach()
list(LENGTH FILES count)
string(APPEND text "};\nconst int RuntimeSourceCount = ${count};\n")
file(WRITE "${OUT}.tmp" "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.tmp" "${OUT}")
file(REMOVE "${OUT}.tmp")
