# The type target: a separate X client whose focused window reports what it receives. Used by the
# X11 tests and the typing benchmark.
if(NOT TARGET velkora_type_target)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(velkora_type_target "${CMAKE_CURRENT_LIST_DIR}/TypeTarget.cpp")
  target_compile_options(velkora_type_target PRIVATE ${VELKORA_WARNINGS})
  target_link_libraries(velkora_type_target PRIVATE Qt6::Gui PkgConfig::VELKORA_X11)
endif()
