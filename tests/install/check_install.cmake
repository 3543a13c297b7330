# Installs the build into a scratch prefix, builds the hello example against it through
# find_package, and checks that pkg-config describes it.
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BINARY} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DHELLO_SOURCE=${HELLO_SOURCE})
run(${CMAKE_COMMAND} --build ${WORK}/consumer)

file(GLOB_RECURSE pc_files ${prefix}/*/vxplan.pc)
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
run(pkg-config --cflags --libs vxplan)
if(NOT last_output MATCHES "-lvxplan" OR NOT last_output MATCHES "include/vxplan")
  message(FATAL_ERROR "pkg-config gives no vxplan flags: ${last_output}")
endif()
