# Run by Blender in the background: Blender makes a model whose way round and up cannot be
# mistaken (the word KEL standing up, read from Blender's front view, and a cube to its
# right and above), writes it with its own default options as OBJ, STL, PLY and GLB, and
# our import and export bring each file into the document and out again. The model must
# stand in the document as in Blender's front view (up is +Y, right is +X, the side read
# from the front faces the eye on -Z and is Direct3D's front), and Blender must read each
# of our files as it read its own: the same vertices, the same outward faces.
#
#   blender -b --factory-startup --python-exit-code 1 --python blender_axes_test.py -- \
#       model_round_trip folder

import math
import os
import subprocess
import sys

import numpy

# Blender 3.4's glTF importer still names numpy.bool, which numpy 1.24 took away.
if not hasattr(numpy, "bool"):
    numpy.bool = bool

import bpy

ROUND_TRIP, FOLDER = sys.argv[sys.argv.index("--") + 1:]
IMPORTERS = {
    "obj": lambda path: bpy.ops.wm.obj_import(filepath=path),
    "stl": lambda path: bpy.ops.import_mesh.stl(filepath=path),
    "ply": lambda path: bpy.ops.import_mesh.ply(filepath=path),
    "glb": lambda path: bpy.ops.import_scene.gltf(filepath=path),
}
failures = []


def check(condition, text):
    print(("ok     " if condition else "FAILED ") + text)
    if not condition:
        failures.append(text)


def make_model(stem):
    bpy.ops.wm.read_factory_settings(use_empty=True)
    bpy.ops.object.text_add()
    word = bpy.context.object
    word.data.body = "KEL"
    word.data.extrude = 0.1
    word.rotation_euler = (math.radians(90), 0, 0)
    bpy.ops.object.convert(target="MESH")
    bpy.ops.mesh.primitive_cube_add(size=0.5, location=(5, 0, 2))
    bpy.ops.object.select_all(action="SELECT")
    bpy.context.view_layer.objects.active = word
    bpy.ops.object.join()
    bpy.ops.object.transform_apply(location=True, rotation=True, scale=True)
    bpy.ops.wm.obj_export(filepath=stem + ".obj")
    bpy.ops.export_mesh.stl(filepath=stem + ".stl")
    bpy.ops.export_mesh.ply(filepath=stem + ".ply")
    bpy.ops.export_scene.gltf(filepath=stem + ".glb", export_format="GLB")


# The vertices, and the area of the faces facing each way, as Blender reads the file.
def read(path, extension):
    bpy.ops.wm.read_factory_settings(use_empty=True)
    IMPORTERS[extension](path)
    vertices, areas = set(), {}
    for shape in bpy.context.scene.objects:
        if shape.type != "MESH":
            continue
        world = shape.matrix_world
        for face in shape.data.polygons:
            normal = tuple(round(x, 2) + 0.0 for x in (world.to_3x3() @ face.normal).normalized())
            areas[normal] = areas.get(normal, 0) + face.area
        for vertex in shape.data.vertices:
            vertices.add(tuple(round(x, 4) + 0.0 for x in world @ vertex.co))
    return vertices, areas


os.makedirs(FOLDER, exist_ok=True)
theirs = os.path.join(FOLDER, "kel")
make_model(theirs)
for extension in IMPORTERS:
    ours = os.path.join(FOLDER, "nostro." + extension)
    run = subprocess.run([ROUND_TRIP, theirs + "." + extension, ours], capture_output=True, text=True)
    check(run.returncode == 0, extension + ": imported and exported " + run.stderr.strip())
    if run.returncode != 0:
        continue
    low_x, high_x, low_y, high_y, low_z, high_z, clockwise, counter = map(float, run.stdout.split())
    check(abs(high_x - 5.25) < 1e-4 and abs(high_y - 2.25) < 1e-4 and abs(low_y) < 1e-4,
          "%s: the cube is right (+X) and up (+Y) in the document: X to %g, Y %g..%g"
          % (extension, high_x, low_y, high_y))
    check(clockwise > 0 and counter == 0,
          "%s: the side read from the front faces -Z, clockwise: %d faces, %d the other way"
          % (extension, clockwise, counter))
    their_vertices, their_areas = read(theirs + "." + extension, extension)
    our_vertices, our_areas = read(ours, extension)
    check(their_vertices == our_vertices,
          "%s: Blender reads our %d vertices where it put its %d"
          % (extension, len(our_vertices), len(their_vertices)))
    turned = [n for n in set(their_areas) | set(our_areas)
              if abs(their_areas.get(n, 0) - our_areas.get(n, 0)) > 1e-3]
    check(not turned, "%s: every face faces the same way outward (%d directions differ)"
          % (extension, len(turned)))

sys.exit(1 if failures else 0)
