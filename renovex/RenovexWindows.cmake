# Renovex.exe: the same steps as on Linux, with the Win32 calls of the files *Windows.cpp.
add_library(vidor_renovex STATIC DisplayChoice.cpp ReplaceWindows.cpp RunningCopiesWindows.cpp)
target_link_libraries(vidor_renovex PUBLIC vidor_windows)

add_executable(Renovex main.cpp NoticeWindows.cpp ${PROJECT_SOURCE_DIR}/platform/windows/Program.rc)
target_link_libraries(Renovex PRIVATE vidor_renovex)
vidor_windows_program(Renovex "Renovex - mise à jour de Vidor")
set_target_properties(Renovex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
