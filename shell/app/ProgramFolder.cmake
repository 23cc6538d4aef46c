# The program folder build/bin: the five programs, each the module itself
# under NAME.exe (Wine starts a Winelib program that another one starts only
# in that form), the DLLs they load, and the files that ship beside them:
# "template.mdb", "default.bmp", "Tips.tip" and "sample.mdb", a library of
# fictional albums in three changers and a few audio-file albums, whose tones
# and covers lie in "Music Files" and "Album Covers".
set(ZYM_PROGRAM_FOLDER ${CMAKE_BINARY_DIR}/bin CACHE INTERNAL "The program folder")
set(ZYM_SAMPLE_LIBRARY ${ZYM_PROGRAM_FOLDER}/sample.mdb)
set(ZYM_SAMPLE_ALBUMS 90 CACHE INTERNAL "The sample library's albums")
set(ZYM_SAMPLE_MUSIC ${ZYM_PROGRAM_FOLDER}/Music\ Files)
set(ZYM_SAMPLE_COVERS ${ZYM_PROGRAM_FOLDER}/Album\ Covers)
string(REPLACE "/" "\\" ZYM_SAMPLE_MUSIC_WINDOWS "Z:${ZYM_SAMPLE_MUSIC}")

add_custom_command(OUTPUT ${ZYM_SAMPLE_LIBRARY}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZYM_PROGRAM_FOLDER}
  COMMAND ${ZYM_PYTHON3} ${PROJECT_SOURCE_DIR}/library/db/MakeLibrary.py ${ZYM_SAMPLE_LIBRARY}
          --albums ${ZYM_SAMPLE_ALBUMS} --changers 40,30,30 --audio-share 0.05 --covers 0.3
          --music-folder ${ZYM_SAMPLE_MUSIC_WINDOWS}
  COMMAND ${ZYM_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/MakeSampleMedia.py ${ZYM_SAMPLE_LIBRARY}
          ${ZYM_SAMPLE_MUSIC} ${ZYM_SAMPLE_COVERS} ${ZYM_SAMPLE_MUSIC_WINDOWS}
  DEPENDS ${PROJECT_SOURCE_DIR}/library/db/MakeLibrary.py ${PROJECT_SOURCE_DIR}/library/db/MakeTemplate.py
          ${CMAKE_CURRENT_SOURCE_DIR}/MakeSampleMedia.py
  COMMENT "Making the sample library with its tones and covers"
  VERBATIM)

set(program_copies "")
foreach(program zym tavlinserv irteach fwupgrader Faultscout)
  list(APPEND program_copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${program}>.so
       ${ZYM_PROGRAM_FOLDER}/${program}.exe)
endforeach()
foreach(library analyze zymjet tavlinps)
  list(APPEND program_copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${library}>
       ${ZYM_PROGRAM_FOLDER})
endforeach()
add_custom_target(zym_program_folder ALL
  ${program_copies}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZYM_LIBRARY_TEMPLATE} ${ZYM_TIPS_FILE}
          ${CMAKE_CURRENT_SOURCE_DIR}/default.bmp ${ZYM_PROGRAM_FOLDER}
  DEPENDS ${ZYM_SAMPLE_LIBRARY}
  COMMENT "Assembling the program folder ${ZYM_PROGRAM_FOLDER}")
add_dependencies(zym_program_folder zym tavlinserv irteach fwupgrader Faultscout analyze zymjet tavlinps
  zym_library_template)
