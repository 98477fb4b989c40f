# Copies the data that ships with the program into its folder in the build
# tree: SOURCE_DIR/help and SOURCE_DIR/commands into PROGRAM_DIR, and the
# tex2pdf script (executable). commands/ is made even when the sources have
# none yet.
# Usage: cmake -DSOURCE_DIR=... -DPROGRAM_DIR=... -P CopyProgramData.cmake
foreach(folder help commands)
  file(MAKE_DIRECTORY ${PROGRAM_DIR}/${folder})
  if(IS_DIRECTORY ${SOURCE_DIR}/${folder})
    file(COPY ${SOURCE_DIR}/${folder}/ DESTINATION ${PROGRAM_DIR}/${folder})
  endif()
endforeach()
file(COPY ${SOURCE_DIR}/resources/tex2pdf DESTINATION ${PROGRAM_DIR}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
