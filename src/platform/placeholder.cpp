// placeholder until the editor windows land
