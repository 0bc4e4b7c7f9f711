# add_java_jar(TARGET name JAR path RELEASE version SOURCES src... [CLASSPATH entries...]
#              [COMMENT text])
# Compiles the sources with the JDK 17 tools (JDK_HOME) for the given Java release, warnings as
# errors, and packs the classes into JAR, rebuilt as part of ALL. The classes are compiled from
# scratch each time, so a deleted source leaves no stale class behind.
function(add_java_jar)
  cmake_parse_arguments(JJ "" "TARGET;JAR;RELEASE;COMMENT" "SOURCES;CLASSPATH;DEPENDS" ${ARGN})
  get_filename_component(jar_dir ${JJ_JAR} DIRECTORY)
  set(classes ${jar_dir}/${JJ_TARGET}-classes)
  set(classpath)
  if(JJ_CLASSPATH)
    list(JOIN JJ_CLASSPATH ":" joined)
    set(classpath -cp ${joined})
  endif()
  # -Xlint:-options hides the notice that an old release is obsolete; every other warning fails.
  add_custom_command(
    OUTPUT ${JJ_JAR}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${classes}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${classes}
    COMMAND ${JDK_HOME}/bin/javac --release ${JJ_RELEASE} -encoding UTF-8 -Xlint:all,-options -Werror
            ${classpath} -d ${classes} ${JJ_SOURCES}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${JJ_JAR}
    COMMAND ${JDK_HOME}/bin/jar --create --file ${JJ_JAR} -C ${classes} .
    DEPENDS ${JJ_SOURCES} ${JJ_DEPENDS}
    COMMENT "${JJ_COMMENT}"
    VERBATIM)
  add_custom_target(${JJ_TARGET} ALL DEPENDS ${JJ_JAR})
endfunction()
