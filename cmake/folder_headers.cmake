# Each library exports the headers of its own folder only, included as
# "folder/name.h": its include root in the build tree holds nothing but a link
# named after the folder. A header from a folder whose library a target does
# not link is then not found, so an include that runs upward fails to build.
function(vexa_export_folder_headers target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} RESULT failed SYMBOLIC)
  if(failed)
    # Windows without the right to make links: the folder's parent serves,
    # and the rule is checked where links can be made.
    message(STATUS "${target}: no link to ${folder}/ (${failed}); its parent is exported")
    get_filename_component(root ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
