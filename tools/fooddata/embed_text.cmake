# Writes a C++ file that holds the text of INPUT as the string_view SYMBOL, so that a data file
# beside the code is compiled into the program that needs it.
file(READ ${INPUT} content)
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}
    "// Generated from ${name} by embed_text.cmake; edit that file instead.\n"
    "#include <string_view>\n"
    "namespace fitquill {\n"
    "extern const std::string_view ${SYMBOL};\n"
    "const std::string_view ${SYMBOL} = R\"fqtext(${content})fqtext\";\n"
    "} // namespace fitquill\n")
