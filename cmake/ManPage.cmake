# Writes the quillbox-cli manual page from the program's own --help, so the two never drift.
# cmake -DCLI=path/to/quillbox-cli -DVERSION=x.y -DOUT=quillbox-cli.1 -P ManPage.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} --help failed: ${rc}")
endif()
# troff: a backslash is written \e; a line starting with '.' or ''' needs \& before it.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUT}
".TH QUILLBOX-CLI 1 \"\" \"Quillbox ${VERSION}\" \"User Commands\"
.SH NAME
quillbox-cli \\- file collections, descriptions and resource tools from the command line
.SH DESCRIPTION
quillbox-cli runs the operations of the Quillbox windows on the same collection files, without
opening a window and without waiting for input. Messages and questions go to standard error,
results to standard output.
.SH USAGE
.nf
${help}.fi
.SH ENVIRONMENT
.TP
.B QUILLBOX_HOME
The folder that holds the collection files and the favorites file, unless \\fB\\-\\-home\\fR is given.
.TP
.B XDG_DATA_HOME
An installed Quillbox keeps its collections in \\fI$XDG_DATA_HOME/Quillbox/Collection\\fR
(default \\fI~/.local/share/Quillbox/Collection\\fR).
")
