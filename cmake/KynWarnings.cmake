# Warning flags shared by every target of the project.
function(kyn_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KYN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
