# tessel_app_manifest(<target>): embeds the application manifest beside this file in an executable:
# common controls version 6, per-monitor (v2) DPI awareness with the system-DPI fallback.
function(tessel_app_manifest target)
  set(manifest ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/tessel-app.manifest)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc)
  # 1 is the manifest a process is created with, 24 the manifest resource type.
  file(CONFIGURE OUTPUT ${rc} CONTENT "1 24 \"${manifest}\"\n")
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${manifest})
endfunction()
