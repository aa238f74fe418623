# The browser edition, built with emscripten. The core throws and catches C++ exceptions
# (the settings files, the port): they are compiled in. Asyncify lets the core wait for
# the browser (a byte from the port, a click in a message box) without a thread of its own.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# Link options of the programs that run under Node (the tests): files in memory as in the
# page, with the project's folder mounted from the machine and the environment the test
# sets (tests/web/node-environment.js), and the exit status.
set(MXC9_WEB_NODE_LINK_OPTIONS
    -sENVIRONMENT=node -lnodefs.js -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sASYNCIFY
    "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/tests/web/node-environment.js")
