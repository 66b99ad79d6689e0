# cmake -DFILE=PATH -DNAME=NAME -DOUTPUT=SOURCE -P web/embed-file.cmake
#
# Writes a C source that builds the bytes of FILE into the program as its
# program file, the one file web/platform/web_file.c opens, under NAME.
file(READ ${FILE} bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
  "/* Made by web/embed-file.cmake from the program file. */\n"
  "const char _web_program_file_name[] = \"${NAME}\";\n"
  "const unsigned long _web_program_file_size = ${size};\n"
  "const unsigned char _web_program_file[] = {\n${bytes}\n};\n")
